// One name or header string of the package, from the publisher's UTF-8 into
// the code page of the installing machines, with a message that names the
// text and the character that does not fit.
#pragma once

#include <string>

namespace packsetup {

// False, with `error` such as: the packaged name "表.txt" holds "表", which
// code page 1252 cannot hold. `label` names the text ("the packaged name").
bool EncodeName(const std::string& label, const std::string& utf8, unsigned codePage,
                std::string& encoded, std::string& error);

} // namespace packsetup
