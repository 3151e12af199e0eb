// The factory defaults and whole-file reads and writes, as several test areas use them.
#pragma once

#include "params/defaults.h"

#include <QFile>
#include <QtTest>
#include <ctime>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

inline ParameterStore defaultsStore()
{
    ParameterStore store;
    loadDefaults(store);
    return store;
}

// The factory defaults as a data file holds them (image offsets 16 to 159); tst_image pins these bytes by hand.
inline QByteArray defaultsBlock() { return defaultsStore().image.configBlock(); }

// Empty when the file cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Fails the running test unless every byte reached the file.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush());
}

// The processor time this process has used, in seconds (std::clock() counts wall
// time on Windows).
inline double processorSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](FILETIME t) { return double((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
#else
    return double(std::clock()) / CLOCKS_PER_SEC;
#endif
}

#ifdef Q_OS_UNIX
// A full disk, as the writing process sees it (also as root): writes past `bytes` fail.
constexpr bool kCanFillDisk = true;
inline void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}
#else
// Windows has no file size limit for a process: the full-disk cases do not run there.
constexpr bool kCanFillDisk = false;
using rlim_t = quint64;
constexpr rlim_t RLIM_INFINITY = ~rlim_t(0);
inline void limitFileSize(rlim_t) {}
#endif
