#include "port_open_failure.h"

#include <cerrno>
#include <cstring>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lmx {

std::string portOpenFailureText(PortOpenFailure failure, const std::string& systemText,
                                const std::string& device, const std::string& group)
{
    std::string text = systemText.empty() ? std::string() : systemText + ".\n";
    switch (failure) {
    case PortOpenFailure::NotFound:
        return text + device + " does not exist. Is the adapter plugged in? The port list in "
                               "Settings > Serial shows the ports the system has.";
    case PortOpenFailure::PermissionDenied: {
        const std::string name = group.empty() ? "dialout" : group;
        return text + "Only members of the group " + name + " may use " + device
             + ". To become one:\n    sudo usermod -aG " + name
             + " $USER\nthen log out and log in again.";
    }
    case PortOpenFailure::InUse:
        return text + "Another program has " + device + " open. Close it and try again.";
    case PortOpenFailure::Other:
        break;
    }
    return systemText;
}

PortOpenFailure checkedFailure(PortOpenFailure reported, const std::string& device,
                               std::string& systemText)
{
    struct stat st {};
    if (::stat(device.c_str(), &st) == 0 || (errno != ENOENT && errno != ENAMETOOLONG && errno != ENOTDIR))
        return reported;
    systemText = std::strerror(errno);
    return PortOpenFailure::NotFound;
}

std::string deviceGroupName(const std::string& device)
{
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return {};
    const struct group* g = ::getgrgid(st.st_gid);
    return g && g->gr_name ? std::string(g->gr_name) : std::string();
}

bool deviceAccessDenied(const std::string& device)
{
    return ::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

} // namespace lmx
