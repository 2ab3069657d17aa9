// How many entries the system handle table holds for one process
// (NtQuerySystemInformation): a real count where GetProcessHandleCount
// answers 0.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdlib>

namespace handle_table {

// The table in its extended form (process ids of full width) and the older
// one (16-bit ids).
constexpr ULONG kSystemHandleInformation = 16;
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct Entry {
    USHORT processId;
    USHORT creatorBackTraceIndex;
    UCHAR objectTypeIndex;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ULONG grantedAccess;
};

struct EntryEx {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

// The whole system's table, in a buffer that grows until it fits; null
// when the system will not give it. The caller frees it.
inline void* Query(ULONG infoClass) {
    ULONG size = 64 * 1024;
    for (int tries = 0; tries < 8; ++tries) {
        void* buffer = std::malloc(size);
        if (!buffer) return nullptr;
        ULONG needed = 0;
        const NTSTATUS status =
            NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(infoClass), buffer, size, &needed);
        if (status >= 0) return buffer;
        std::free(buffer);
        if (status != kInfoLengthMismatch) return nullptr;
        // The table may grow between the two calls.
        size = (needed > size ? needed : size * 2) + 16 * 1024;
    }
    return nullptr;
}

inline bool CountOf(DWORD pid, unsigned long long* count) {
    *count = 0;
    if (void* table = Query(kSystemExtendedHandleInformation)) {
        const ULONG_PTR n = *static_cast<ULONG_PTR*>(table);
        const EntryEx* entries =
            reinterpret_cast<const EntryEx*>(static_cast<char*>(table) + 2 * sizeof(ULONG_PTR));
        for (ULONG_PTR i = 0; i < n; ++i)
            if (entries[i].processId == pid) ++*count;
        std::free(table);
        return true;
    }
    // The older table carries only the low 16 bits of the id.
    if (pid > 0xFFFF) return false;
    void* table = Query(kSystemHandleInformation);
    if (!table) return false;
    const ULONG n = *static_cast<ULONG*>(table);
    const Entry* entries = reinterpret_cast<const Entry*>(static_cast<char*>(table) + sizeof(ULONG_PTR));
    for (ULONG i = 0; i < n; ++i)
        if (entries[i].processId == pid) ++*count;
    std::free(table);
    return true;
}

}  // namespace handle_table
