#pragma once
// What the user reads beneath "Can not open ComPort :" and the port's name: the system's
// reason, and what to do about it. Most often a port that does not open belongs to a group
// the user is not in (dialout on Debian), or the adapter is not plugged in.

#include <string>

namespace lmx {

enum class PortOpenFailure {
    NotFound,         // no such device
    PermissionDenied, // the user may not use the device
    InUse,            // another program has it open or locked
    Other,
};

// systemText: the system's own words ("Permission denied"); group: the group that owns the
// device, empty when unknown.
std::string portOpenFailureText(PortOpenFailure failure, const std::string& systemText,
                                const std::string& device, const std::string& group);

// The failure as the system sees the device itself: a name that leads nowhere (missing, or
// too long to be a name) is NotFound with the system's reason, whatever the port reported
// (a lock file that cannot be made reads as a permission error). Otherwise `reported`, and
// systemText stays as it is.
PortOpenFailure checkedFailure(PortOpenFailure reported, const std::string& device,
                               std::string& systemText);

// The name of the group that owns the device; empty when it cannot be found.
std::string deviceGroupName(const std::string& device);

// Whether the system refuses the user reading and writing the device.
bool deviceAccessDenied(const std::string& device);

} // namespace lmx
