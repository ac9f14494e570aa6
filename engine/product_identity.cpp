#include "product_identity.h"

#include "version_info.h"
#include "version_text.h"

#include <tuple>

ProductIdentity IdentityOf(const Package& package, const std::string& installedProgram) {
    ProductIdentity identity;
    const VersionInfo resource = ReadVersionInfo(installedProgram);
    identity.version =
        package.identity.version.empty() ? resource.version : package.identity.version;
    identity.publisher =
        package.identity.publisher.empty() ? resource.company : package.identity.publisher;
    setupcore::VersionNumbers numbers;
    if (!package.identity.version.empty() &&
        setupcore::ParseVersionText(package.identity.version, numbers)) {
        identity.hasNumbers = true;
        identity.major = numbers.major;
        identity.minor = numbers.minor;
    } else if (package.identity.version.empty() && resource.hasNumbers) {
        identity.hasNumbers = true;
        identity.major = resource.major;
        identity.minor = resource.minor;
    }
    return identity;
}

bool IsDowngrade(const std::string& older, const std::string& newer) {
    setupcore::VersionNumbers a, b;
    if (!setupcore::ParseVersionText(older, a) || !setupcore::ParseVersionText(newer, b))
        return false;
    return std::tie(b.major, b.minor, b.build, b.revision) <
           std::tie(a.major, a.minor, a.build, a.revision);
}
