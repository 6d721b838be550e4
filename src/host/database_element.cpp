#include <kest/gear/host/database_element.h>
#include <kest/gear/host/diagnostics.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace kest::host {
namespace {

[[noreturn]] void fail(const std::string& message) {
    throw make_pp(message);
}

std::string quoted(const char* fileName) {
    return std::string("'") + fileName + "'";
}

} // namespace

CMDatabaseElement::~CMDatabaseElement() = default;

void CMDatabaseElement::AddUser(unsigned long) {
    ++users_;
}
void CMDatabaseElement::RemoveUser(unsigned long) {
    if (users_ > 0) --users_;
}

CMXMLDatabaseElement::CMXMLDatabaseElement(const char* documentElementName)
    : documentElementName_(documentElementName) {
    xml_.reset(documentElementName_.c_str());
}

CMXMLDatabaseElement::~CMXMLDatabaseElement() = default;

void CMXMLDatabaseElement::Load(const char* fileName) {
    namespace fs = std::filesystem;
    if (!fileName || !*fileName) fail("cannot load a record without a file name");
    const fs::path path(fileName);
    std::error_code ec;
    if (!fs::exists(path, ec)) fail("file not found: " + quoted(fileName));
    const std::uintmax_t size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !fs::is_regular_file(path, ec) || !in) fail("cannot read file " + quoted(fileName));
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size)))
        fail("cannot read file " + quoted(fileName));
    std::string error;
    if (!xml_.parse(text, &error)) fail("file " + quoted(fileName) + " is not well-formed XML: " + error);
}

void CMXMLDatabaseElement::Save(const char* fileName) {
    const std::string target = fileName ? fileName : GetKey();
    if (target.empty()) fail("cannot save a record without a file name");
    std::string text;
    xml_.serialize(text);

    // Write beside the target and rename over it: a reader never sees a half-written file.
    namespace fs = std::filesystem;
    const fs::path path(target);
    fs::path temporary = path;
    temporary += ".tmp~";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) fail("cannot write file " + quoted(target.c_str()));
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            fail("cannot write file " + quoted(target.c_str()));
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        fail("cannot replace file " + quoted(target.c_str()) + ": " + ec.message());
    }
}

void CMXMLDatabaseElement::ReadFromStream(std::istream& in) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!xml_.parse(text, &error)) fail("stream is not well-formed XML: " + error);
}

void CMXMLDatabaseElement::WriteToStream(std::ostream& out) const {
    std::string text;
    xml_.serialize(text);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool CMXMLDatabaseElement::GetVersion(std::string& version, bool& corrupted) const {
    version.clear();
    const XMLNode root = xml_.getRootNode();
    corrupted = !root;
    return root && xml_.getAttributeValue(root, "version", version);
}

void CMXMLDatabaseElement::SetVersion(const std::string& version) {
    XMLNode root = xml_.getRootNode();
    if (!root) {
        xml_.reset(documentElementName_.c_str());
        root = xml_.getRootNode();
    }
    xml_.addAttributeValue(root, "version", version);
}

} // namespace kest::host
