#include "SharedLibrary.h"

#include <QFile>

#include <dlfcn.h>
#include <utility>

SharedLibrary::~SharedLibrary()
{
    unload();
}

SharedLibrary::SharedLibrary(SharedLibrary &&other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{
}

SharedLibrary &SharedLibrary::operator=(SharedLibrary &&other) noexcept
{
    if (this != &other) {
        unload();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

bool SharedLibrary::load(const QString &nameOrPath)
{
    unload();
    m_handle = dlopen(QFile::encodeName(nameOrPath).constData(), RTLD_NOW | RTLD_LOCAL);
    return m_handle != nullptr;
}

void SharedLibrary::unload()
{
    if (m_handle)
        dlclose(std::exchange(m_handle, nullptr));
}

void *SharedLibrary::symbol(const char *name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}
