#pragma once
// What every fuzz target shares: a broken expectation stops the run like a crash,
// so libFuzzer keeps the input that caused it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzzFailed(const char* file, int line, const char* condition)
{
    std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, condition);
    std::abort();
}
#define FUZZ_EXPECT(condition) ((condition) ? void(0) : fuzzFailed(__FILE__, __LINE__, #condition))

// The input as a file of this name in a folder kept for the whole run; its path.
inline QString fuzzFile(const QString& name, const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    QFile file(QDir(dir.path()).filePath(name));
    FUZZ_EXPECT(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_EXPECT(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    return file.fileName();
}
