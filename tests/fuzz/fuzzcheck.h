#pragma once
// A broken expectation stops the run like a crash, so libFuzzer keeps the input.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_EXPECT(condition) \
    ((condition) ? void(0) : (std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition), std::abort()))

// The input as a file of this name in a folder kept for the whole run; its path.
inline QString fuzzFile(const QString& name, const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    QFile file(dir.filePath(name));
    FUZZ_EXPECT(file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    return file.fileName();
}
