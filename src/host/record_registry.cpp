#include <kest/gear/host/record_registry.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kest::host {
namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

struct Registry {
    struct Type {
        std::string name;
        RecordFactory factory;
    };
    std::mutex mutex;
    std::vector<Type> types;
    std::vector<std::unique_ptr<CMDatabaseElement>> records;

    std::vector<Type>::iterator find(std::string_view name) {
        return std::find_if(types.begin(), types.end(),
                            [&](const Type& t) { return equalNoCase(t.name, name); });
    }
};

Registry& registry() {
    // Never destroyed: records and types may be removed from static destructors of other libraries.
    static Registry* r = new Registry;
    return *r;
}

} // namespace

bool XmlRecords_RegisterDatabaseElementType(const char* typeName, RecordFactory factory, bool) {
    if (!typeName || !*typeName || !factory) return false;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.find(typeName) != r.types.end()) return false;
    r.types.push_back({typeName, factory});
    return true;
}

bool XmlRecords_UnRegisterDatabaseElementType(const char* typeName) {
    if (!typeName) return false;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.find(typeName);
    if (it == r.types.end()) return false;
    r.types.erase(it);
    return true;
}

bool XmlRecords_IsDatabaseElementTypeRegistered(const char* typeName) {
    if (!typeName) return false;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.find(typeName) != r.types.end();
}

CMDatabaseElement* XmlRecords_CreateDatabaseElement(const char* typeName) {
    if (!typeName) return nullptr;
    RecordFactory factory = nullptr;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        const auto it = r.find(typeName);
        if (it == r.types.end()) return nullptr;
        factory = it->factory;
    }
    return factory(typeName);
}

bool RecordsAddElement(CMDatabaseElement* record) {
    if (!record) return false;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.records.emplace_back(record);
    return true;
}

bool RecordsRemoveAllElement(const char* ownerId) {
    if (!ownerId) return false;
    std::vector<std::unique_ptr<CMDatabaseElement>> removed;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        const auto owned = std::stable_partition(r.records.begin(), r.records.end(),
                                                 [&](const auto& rec) { return !rec->TestOwnerId(ownerId); });
        std::move(owned, r.records.end(), std::back_inserter(removed));
        r.records.erase(owned, r.records.end());
    }
    return !removed.empty(); // destroyed here, outside the lock
}

std::size_t RecordsCountElements(const char* ownerId) {
    if (!ownerId) return 0;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<std::size_t>(std::count_if(
        r.records.begin(), r.records.end(), [&](const auto& rec) { return rec->TestOwnerId(ownerId); }));
}

} // namespace kest::host
