#pragma once

#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <iosfwd>
#include <string>
#include <utility>

namespace kest::host {

// Base of every stored record: a key (for a file-backed record the file name) and the record's identity.
class GEARRECORDS_API CMDatabaseElement {
public:
    CMDatabaseElement() = default;
    CMDatabaseElement(const CMDatabaseElement&) = default;
    CMDatabaseElement& operator=(const CMDatabaseElement&) = default;
    virtual ~CMDatabaseElement();

    virtual void Save(const char* fileName) = 0;
    virtual void Load(const char* fileName) = 0;
    virtual bool IsComplete() const { return complete_; }
    virtual void SetComplete(bool complete) { complete_ = complete; }
    virtual const char* GetKindOf() const = 0;
    virtual bool TestKindOf(const char* kind, bool exact) const = 0;
    // returns a new record owned by the caller
    virtual CMDatabaseElement* CreateCopy() const = 0;
    virtual const char* GetOwnerId() const = 0;
    virtual bool TestOwnerId(const char* id) const = 0;
    virtual void AddUser(unsigned long user);
    virtual void RemoveUser(unsigned long user);

    // returns "" when no key is set
    const char* GetKey() const noexcept { return key_.c_str(); }
    void SetKey(const char* key) { key_ = key ? key : ""; }
    unsigned long GetUserCount() const noexcept { return users_; }

private:
    std::string key_;
    unsigned long users_ = 0;
    bool complete_ = false;
};

// A record kept as one XML document. The document element is "gear"-like: its name is chosen by the derived
// record, and its attribute "version" holds the version stamp.
class GEARRECORDS_API CMXMLDatabaseElement : public CMDatabaseElement {
public:
    explicit CMXMLDatabaseElement(const char* documentElementName = "record");
    CMXMLDatabaseElement(const CMXMLDatabaseElement&) = default;
    CMXMLDatabaseElement& operator=(const CMXMLDatabaseElement&) = default;
    ~CMXMLDatabaseElement() override;

    // Parses the file into the document. Throws a C string naming the file when it does not exist, cannot be
    // read or is not well-formed XML (then with the parser's description and the byte offset).
    void Load(const char* fileName) override;
    // Writes the document to `fileName`, or to the key when that is null. The text goes to a temporary file
    // beside the target that is then renamed over it, so a failed save leaves the old file as it was. Throws
    // a C string naming the file on failure.
    void Save(const char* fileName) override;

    // Parse from and write to a stream; ReadFromStream throws as Load does.
    virtual void ReadFromStream(std::istream& in);
    virtual void WriteToStream(std::ostream& out) const;

    // Reads the version stamp; `corrupted` is true when the document has no document element.
    // returns false (with an empty `version`) when there is no stamp.
    bool GetVersion(std::string& version, bool& corrupted) const;
    void SetVersion(const std::string& version);

protected:
    // Parses the file into a document of its own, throwing as Load does; the record's document is untouched.
    // `text`, when given, receives the file's bytes.
    static MSXMLWrapper ReadXMLDocument(const char* fileName, std::string* text = nullptr);
    // Takes over a document read by ReadXMLDocument.
    void AdoptXMLDocument(MSXMLWrapper&& document) noexcept {
        xml_ = std::move(document);
        rootPending_ = false;
    }

    MSXMLWrapper* GetXMLWrapper() noexcept {
        if (rootPending_) makeRoot();
        return &xml_;
    }
    // Of a new record, a document whose element is not made yet: it reads as an empty one.
    const MSXMLWrapper* GetXMLWrapper() const noexcept { return &xml_; }

private:
    void makeRoot() noexcept;

    MSXMLWrapper xml_;
    std::string documentElementName_;
    // A new record's document element, empty, is made on first use: a record made to be loaded never needs
    // it.
    bool rootPending_ = true;
};

} // namespace kest::host
