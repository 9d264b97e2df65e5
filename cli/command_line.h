#pragma once
// What every lmx command line shares: "--name=value" is the same as "--name value", as GNU
// programs take it; the version; and `lmx help COMMAND`.

#include <string>
#include <vector>

namespace cli {

// The arguments with every "--name=value" before a "--" as "--name" "value". Options whose
// value is optional and only written with '=' (--rs485=BEFORE,AFTER) stay as they are.
std::vector<std::string> withSeparateValues(const std::vector<std::string>& args);

// "lmx 0.2.0\n".
std::string versionText();

} // namespace cli
