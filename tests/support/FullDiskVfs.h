#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

// A full disk for the engine, without filling one: a file system layer put in front of the
// engine's own as the default for every connection opened afterwards. While `full` is set,
// every write, truncation and growth of the shared-memory index fails as the engine's own
// layer fails on a full disk (an I/O error, with ENOSPC as the system's error); reads work.
namespace fulldisk {

inline bool full = false;

struct File {
    sqlite3_file base;
    sqlite3_file* real; // follows this struct in the same allocation
};

inline sqlite3_vfs* realVfs() {
    static sqlite3_vfs* vfs = sqlite3_vfs_find("unix");
    return vfs;
}

inline sqlite3_file* real(sqlite3_file* f) {
    return reinterpret_cast<File*>(f)->real;
}

inline int xClose(sqlite3_file* f) {
    return real(f)->pMethods->xClose(real(f));
}
inline int xRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o) {
    return real(f)->pMethods->xRead(real(f), b, n, o);
}
inline int xWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
    return full ? SQLITE_IOERR_WRITE : real(f)->pMethods->xWrite(real(f), b, n, o);
}
inline int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return full ? SQLITE_IOERR_TRUNCATE : real(f)->pMethods->xTruncate(real(f), size);
}
inline int xSync(sqlite3_file* f, int flags) {
    return real(f)->pMethods->xSync(real(f), flags);
}
inline int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
inline int xLock(sqlite3_file* f, int l) {
    return real(f)->pMethods->xLock(real(f), l);
}
inline int xUnlock(sqlite3_file* f, int l) {
    return real(f)->pMethods->xUnlock(real(f), l);
}
inline int xCheckReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
inline int xFileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
inline int xSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
inline int xDeviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
inline int xShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return full ? SQLITE_IOERR_SHMSIZE
                : real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
inline int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
inline void xShmBarrier(sqlite3_file* f) {
    real(f)->pMethods->xShmBarrier(real(f));
}
inline int xShmUnmap(sqlite3_file* f, int deleteFlag) {
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
inline int xFetch(sqlite3_file*, sqlite3_int64, int, void** out) {
    *out = nullptr; // no memory mapping: every write passes xWrite
    return SQLITE_OK;
}
inline int xUnfetch(sqlite3_file*, sqlite3_int64, void*) {
    return SQLITE_OK;
}

inline const sqlite3_io_methods kMethods = {3,
                                            xClose,
                                            xRead,
                                            xWrite,
                                            xTruncate,
                                            xSync,
                                            xFileSize,
                                            xLock,
                                            xUnlock,
                                            xCheckReservedLock,
                                            xFileControl,
                                            xSectorSize,
                                            xDeviceCharacteristics,
                                            xShmMap,
                                            xShmLock,
                                            xShmBarrier,
                                            xShmUnmap,
                                            xFetch,
                                            xUnfetch};

inline int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    std::memset(file->real, 0, static_cast<size_t>(realVfs()->szOsFile));
    const int rc = realVfs()->xOpen(realVfs(), name, file->real, flags, outFlags);
    file->base.pMethods = file->real->pMethods != nullptr ? &kMethods : nullptr;
    return rc;
}
inline int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return realVfs()->xDelete(realVfs(), name, syncDir);
}
inline int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return realVfs()->xAccess(realVfs(), name, flags, out);
}
inline int xFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return realVfs()->xFullPathname(realVfs(), name, n, out);
}
inline int xRandomness(sqlite3_vfs*, int n, char* out) {
    return realVfs()->xRandomness(realVfs(), n, out);
}
inline int xSleep(sqlite3_vfs*, int us) {
    return realVfs()->xSleep(realVfs(), us);
}
inline int xCurrentTime(sqlite3_vfs*, double* out) {
    return realVfs()->xCurrentTime(realVfs(), out);
}
inline int xGetLastError(sqlite3_vfs*, int n, char* out) {
    return full ? ENOSPC : realVfs()->xGetLastError(realVfs(), n, out);
}

// Puts the layer in front, once.
inline void install() {
    static sqlite3_vfs vfs = [] {
        sqlite3_vfs v{};
        v.iVersion = 1;
        v.szOsFile = static_cast<int>(sizeof(File)) + realVfs()->szOsFile;
        v.mxPathname = realVfs()->mxPathname;
        v.zName = "fulldisk";
        v.xOpen = xOpen;
        v.xDelete = xDelete;
        v.xAccess = xAccess;
        v.xFullPathname = xFullPathname;
        v.xRandomness = xRandomness;
        v.xSleep = xSleep;
        v.xCurrentTime = xCurrentTime;
        v.xGetLastError = xGetLastError;
        return v;
    }();
    sqlite3_vfs_register(&vfs, 1);
}

} // namespace fulldisk
