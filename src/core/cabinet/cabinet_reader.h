#pragma once
// CabinetReader: reads Microsoft Cabinet archives (version 1.3) through a
// caller-supplied callback table and hands every archived file to a
// notification callback. It touches neither the heap nor the file system
// itself.
#include "core/cabinet/cabinet_types.h"

namespace quell::cabinet {

struct CabinetContext;

// Makes a reader context; null (with OutOfMemory in error) when the allocate
// callback fails. The error record belongs to the caller and must outlive the context.
CabinetContext* Create(const CabinetIo& io, int cpuType, CabinetError* error);

// Reads the 36-byte header at the handle's position and fills summary.
bool IsCabinet(CabinetContext* context, FileHandle handle, CabinetSummary* summary);

// Reads the cabinet path + name and walks its file table (and those of the
// cabinets its folders run on into), notifying as it goes.
bool Copy(CabinetContext* context, const char* cabinetName, const char* cabinetPath, int flags, NotifyCallback notify,
          BlockHook blockHook, void* user);

// Releases everything the context holds. Always gives true.
bool Destroy(CabinetContext* context);

// A reader context that is destroyed with its scope; get() is null when
// Create failed.
class ScopedCabinetContext {
public:
    ScopedCabinetContext(const CabinetIo& io, int cpuType, CabinetError* error)
        : m_context(Create(io, cpuType, error)) {}
    ~ScopedCabinetContext() { Destroy(m_context); }
    ScopedCabinetContext(const ScopedCabinetContext&) = delete;
    ScopedCabinetContext& operator=(const ScopedCabinetContext&) = delete;

    CabinetContext* get() const { return m_context; }
    explicit operator bool() const { return m_context != nullptr; }

private:
    CabinetContext* m_context;
};

}  // namespace quell::cabinet
