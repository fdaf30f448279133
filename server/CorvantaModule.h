// CCorvantaModule: the one module object of the DLL. It keeps the version
// text made at load and the class objects handed out so far; the lock count
// and the critical section live in ModuleLock.h.
#pragma once

#include <windows.h>
#include <unknwn.h>

class CCorvantaModule {
public:
    // Called at process attach: remembers the module and makes the version text.
    void Attach(HMODULE module);
    // Called when the DLL is unloaded: releases the class objects and
    // everything kept process-wide.
    void Unload();

    // False when the module's critical section could not be created.
    bool Ready() const;
    HMODULE Handle() const { return handle; }
    // "major.minor.build.revision" of the file version; "<unknown>" without a
    // fixed version part, empty when the version information is unreadable.
    const wchar_t *VersionText() const { return versionText; }

    // The class object of table row index, created on first request.
    // Returns an AddRef'd pointer, or null when it cannot be made.
    IClassFactory *ClassObject(size_t index);

private:
    void MakeVersionText();

    HMODULE handle = nullptr;
    wchar_t versionText[128] = {};
};

extern CCorvantaModule corvantaModule;

// Formats the version text from a version resource block (as returned by
// GetFileVersionInfoW); null gives the "<unknown>" text.
void FormatVersionText(const void *versionBlock, wchar_t *text, size_t capacity);

// The version text of the file at path, as VersionText() gives it for the
// module: empty when the file's version information cannot be read.
void FileVersionText(const wchar_t *path, wchar_t *text, size_t capacity);
