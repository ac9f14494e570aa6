// Any bytes as one or two paths (split at the first NUL-free half: the first
// byte says where). The canonical form must equal what a second, simple
// resolver written from Windows' documented rules makes of the same text;
// it must be a fixed point; and "inside" must agree with a component-wise
// prefix test of the model's components.
#include "canonical_path.h"
#include "path_scope.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace setupcore;

// The model: one byte a character (no lead bytes), every '/' a '\', then the
// root, then the names walked with a stack.
struct ModelPath {
    std::string root;
    std::vector<std::string> names;
};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    for (char ch : text) {
        if (ch == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += ch;
        }
    }
    parts.push_back(part);
    return parts;
}

std::string Lower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch + 32);
    return text;
}

bool IsDevice(const std::string& name) {
    std::string stem = Lower(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" ||
        stem == "conout$")
        return true;
    if (stem.size() != 4 || (stem.substr(0, 3) != "com" && stem.substr(0, 3) != "lpt"))
        return false;
    const char port = stem[3];
    return (port >= '0' && port <= '9') || port == '\xB9' || port == '\xB2' || port == '\xB3';
}

bool NameIsUsable(const std::string& name) {
    for (char ch : name)
        if (std::string(":<>\"|?*").find(ch) != std::string::npos)
            return false;
    return !name.empty() && name.back() != '.' && name.back() != ' ' && !IsDevice(name);
}

std::optional<ModelPath> Model(std::string path) {
    for (char& ch : path) {
        if (static_cast<unsigned char>(ch) < 0x20)
            return std::nullopt;
        if (ch == '/')
            ch = '\\';
    }
    for (const char* verbatim : {"\\\\?\\", "\\\\.\\", "\\??\\"})
        if (path.rfind(verbatim, 0) == 0)
            return std::nullopt;
    if (path == "\\\\?" || path == "\\\\." || path == "\\??")
        return std::nullopt;
    ModelPath model;
    std::vector<std::string> names;
    if (path.rfind("\\\\", 0) == 0) {
        names = Split(path.substr(2));
        if (names.size() < 2 || names[0] == "." || names[0] == ".." || names[1] == "." ||
            names[1] == ".." || !NameIsUsable(names[0]) || !NameIsUsable(names[1]))
            return std::nullopt;
        model.root = "\\\\" + names[0] + "\\" + names[1];
        names.erase(names.begin(), names.begin() + 2);
    } else if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
               path[1] == ':' && path[2] == '\\') {
        model.root = path.substr(0, 2);
        names = Split(path.substr(3));
    } else {
        return std::nullopt;
    }
    for (const std::string& name : names) {
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (model.names.empty())
                return std::nullopt;
            model.names.pop_back();
        } else if (!NameIsUsable(name)) {
            return std::nullopt;
        } else {
            model.names.push_back(name);
        }
    }
    return model;
}

std::string Text(const ModelPath& model) {
    std::string text = model.root;
    if (model.names.empty() && model.root.size() == 2)
        text += '\\';
    for (const std::string& name : model.names)
        text += "\\" + name;
    return text;
}

// The root counts as one component whatever it holds.
bool ModelWithin(const ModelPath& inner, const ModelPath& outer) {
    if (Lower(inner.root) != Lower(outer.root) || inner.names.size() < outer.names.size())
        return false;
    for (size_t i = 0; i < outer.names.size(); ++i)
        if (Lower(inner.names[i]) != Lower(outer.names[i]))
            return false;
    return true;
}

void Check(const std::string& path) {
    const CanonicalPath canonical = Canonicalize(path, NoLeadBytes);
    const std::optional<ModelPath> model = Model(path);
    if (static_cast<bool>(canonical) != model.has_value())
        std::abort();
    if (!canonical)
        return;
    if (canonical.path != Text(*model) || !IsCanonical(canonical.path, NoLeadBytes))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t cut = std::min<size_t>(data[0], bytes.size());
    const std::string first = bytes.substr(0, cut), second = bytes.substr(cut);
    Check(bytes);
    Check(first);
    Check(second);
    const CanonicalPath a = Canonicalize(first, NoLeadBytes), b = Canonicalize(second, NoLeadBytes);
    if (a && b &&
        IsWithin(a.path, b.path, NoLeadBytes) != ModelWithin(*Model(first), *Model(second)))
        std::abort();
    return 0;
}
