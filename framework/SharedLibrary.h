#pragma once

#include <QString>

// A shared library loaded by name or path, unloaded when the object goes.
class SharedLibrary
{
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary &) = delete;
    SharedLibrary &operator=(const SharedLibrary &) = delete;
    SharedLibrary(SharedLibrary &&other) noexcept;
    SharedLibrary &operator=(SharedLibrary &&other) noexcept;

    // A name without "/" goes through the system's library search.
    bool load(const QString &nameOrPath);
    void unload();
    bool isLoaded() const { return m_handle != nullptr; }
    void *symbol(const char *name) const;

private:
    void *m_handle = nullptr;
};
