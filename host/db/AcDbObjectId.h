// Object ids and handles: an id names one object of one database for the whole session;
// a handle is the object's persistent name in the drawing file.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "host/core/AcadTypes.h"

class AcDbDatabase;
class AcDbObject;

class AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(std::uint64_t value) : m_value(value) {}
    // Parses the hexadecimal form used in drawing files; a malformed text gives the null handle.
    explicit AcDbHandle(const ACHAR* hex);
    static AcDbHandle fromHex(std::string_view hex, bool* ok = nullptr);

    bool isNull() const { return m_value == 0; }
    void setNull() { m_value = 0; }
    std::uint64_t value() const { return m_value; }
    AcDbHandle& operator++() { ++m_value; return *this; }
    bool operator==(const AcDbHandle&) const = default;
    auto operator<=>(const AcDbHandle&) const = default;
    // Upper-case hexadecimal without leading zeros, as drawing files write handles.
    std::string hex() const;
    void getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength = 17) const;

private:
    std::uint64_t m_value = 0;
};

// The database's record of one object: the object may not be loaded (a reference to a
// handle not read yet) or may be erased.
struct AcDbStub {
    AcDbHandle handle;
    AcDbDatabase* database = nullptr;
    AcDbObject* object = nullptr;
    bool erased = false;
    // Set while the object waits in the database's list of changed objects.
    bool touched = false;
    // The object is not made yet: `object` is its owner, which holds its data compactly
    // (a heavy polyline's vertex or end record) and makes the object when it is needed
    // (fendo::db::objectOf). Only the database and the owner look at `object` then.
    bool held = false;
    // The stub was given out by a handle lookup (a reference to the object): an owner that
    // holds the object may then not let the stub go (see AcDbDatabase::releaseHeldStub).
    bool referenced = false;
    // Where a cache of derived data (the selection index) keeps this object; 0: nowhere.
    std::uint32_t cacheSlot = 0;
};

class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(AcDbStub* stub) : m_stub(stub) {}
    static const AcDbObjectId kNull;

    bool isNull() const { return m_stub == nullptr; }
    // Not null and naming an object that exists (loaded, not necessarily unerased).
    bool isValid() const { return m_stub && m_stub->object; }
    bool isErased() const { return m_stub && m_stub->erased; }
    AcDbObjectId& setNull() { m_stub = nullptr; return *this; }
    AcDbHandle handle() const { return m_stub ? m_stub->handle : AcDbHandle(); }
    AcDbDatabase* database() const { return m_stub ? m_stub->database : nullptr; }
    AcDbStub* stub() const { return m_stub; }
    std::intptr_t asOldId() const { return reinterpret_cast<std::intptr_t>(m_stub); }

    bool operator==(const AcDbObjectId& other) const { return m_stub == other.m_stub; }
    bool operator!=(const AcDbObjectId& other) const { return m_stub != other.m_stub; }
    bool operator<(const AcDbObjectId& other) const { return handle().value() < other.handle().value(); }
    bool operator!() const { return isNull(); }

private:
    AcDbStub* m_stub = nullptr;
};

template <>
struct std::hash<AcDbObjectId> {
    size_t operator()(const AcDbObjectId& id) const noexcept { return std::hash<const void*>()(id.stub()); }
};
