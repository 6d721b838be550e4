#include <kest/gear/host/database_element.h>
#include <kest/gear/host/diagnostics.h>

#include "host/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <iterator>
#include <memory>
#include <sstream>

#include <sys/stat.h>

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
    : documentElementName_(documentElementName) {}

void CMXMLDatabaseElement::makeRoot() noexcept {
    xml_.reset(documentElementName_.c_str());
    rootPending_ = false;
}

CMXMLDatabaseElement::~CMXMLDatabaseElement() = default;

void CMXMLDatabaseElement::Load(const char* fileName) {
    AdoptXMLDocument(ReadXMLDocument(fileName));
}

MSXMLWrapper CMXMLDatabaseElement::ReadXMLDocument(const char* fileName, std::string* bytes) {
    if (!fileName || !*fileName) fail("cannot load a record without a file name");
    // C stdio rather than a stream: opening a stream sets up a locale, which costs more than parsing a gear
    // file.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName, "rb"), &std::fclose);
    if (!file) {
        const bool missing = errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG;
        fail((missing ? "file not found: " : "cannot read file ") + quoted(fileName));
    }
    std::string text;
    // Read in one piece, straight into the text, when the size is known; a file that is no regular file (or
    // one that grew meanwhile) is read as it comes.
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        text.resize(static_cast<std::size_t>(status.st_size));
        text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    }
    char buffer[16384];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, read);
    if (std::ferror(file.get())) fail("cannot read file " + quoted(fileName)); // a directory, for one
    std::string error;
    MSXMLWrapper document;
    if (!document.parse(text, &error)) fail("file " + quoted(fileName) + " is not well-formed XML: " + error);
    if (bytes) bytes->swap(text);
    return document;
}

void CMXMLDatabaseElement::Save(const char* fileName) {
    const std::string target = fileName ? fileName : GetKey();
    if (target.empty()) fail("cannot save a record without a file name");
    std::string text;
    GetXMLWrapper()->serialize(text);
    replaceFileContent(target, text);
}

void CMXMLDatabaseElement::ReadFromStream(std::istream& in) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!xml_.parse(text, &error)) fail("stream is not well-formed XML: " + error);
    rootPending_ = false;
}

void CMXMLDatabaseElement::WriteToStream(std::ostream& out) const {
    std::string text;
    if (rootPending_) {
        MSXMLWrapper empty;
        empty.reset(documentElementName_.c_str());
        empty.serialize(text);
    } else {
        xml_.serialize(text);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool CMXMLDatabaseElement::GetVersion(std::string& version, bool& corrupted) const {
    version.clear();
    const XMLNode root = xml_.getRootNode();
    corrupted = !root && !rootPending_;
    return root && xml_.getAttributeValue(root, "version", version);
}

void CMXMLDatabaseElement::SetVersion(const std::string& version) {
    XMLNode root = xml_.getRootNode();
    if (!root) {
        makeRoot();
        root = xml_.getRootNode();
    }
    xml_.addAttributeValue(root, "version", version);
}

} // namespace kest::host
