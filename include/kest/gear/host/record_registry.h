#pragma once

#include <kest/gear/host/database_element.h>
#include <kest/gear/host/export.h>

namespace kest::host {

// Creates a record for a type name; returns null for a name the factory does not serve. The caller owns it.
using RecordFactory = CMDatabaseElement* (*)(const char* typeName);

// Registers a record type; returns false when the name is empty, the factory null, or the name taken.
// Type names are compared without regard to case. The flag is kept for the callers' sake and has no effect.
GEARRECORDS_API bool XmlRecords_RegisterDatabaseElementType(const char* typeName, RecordFactory factory,
                                                            bool flag);
// returns false when the type was not registered
GEARRECORDS_API bool XmlRecords_UnRegisterDatabaseElementType(const char* typeName);
GEARRECORDS_API bool XmlRecords_IsDatabaseElementTypeRegistered(const char* typeName);
// Asks the factory of the type for a new record; returns null for an unknown type. The caller owns the
// record.
GEARRECORDS_API CMDatabaseElement* XmlRecords_CreateDatabaseElement(const char* typeName);

// Hands a record to the registry, which then owns it (records loaded for a host program are kept here).
// returns false (and the caller keeps the record) for a null record.
GEARRECORDS_API bool RecordsAddElement(CMDatabaseElement* record);
// Destroys every record held by the registry whose owner identity is `ownerId`; returns true when it removed
// one.
GEARRECORDS_API bool RecordsRemoveAllElement(const char* ownerId);
GEARRECORDS_API std::size_t RecordsCountElements(const char* ownerId);

} // namespace kest::host
