#pragma once
// Shared set-up of the fuzz targets: the application object, a private
// scratch folder removed at exit, and the abort that reports a finding.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kelmon::fuzz {

// Creates the application object and the scratch folder once per process.
void initialize(int *argc, char ***argv);
// The libFuzzer initializer of a target that needs nothing more than that.
#define KELMON_FUZZ_INITIALIZE_ONLY                                  \
    extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)   \
    {                                                              \
        kelmon::fuzz::initialize(argc, argv);                      \
        return 0;                                                  \
    }
// The scratch folder of this process.
QString scratch();
// Writes bytes to path; a failure is a finding (the scratch folder is ours).
void writeBytes(const QString &path, const uint8_t *data, std::size_t size);
// Hands the bytes on in pieces of the given size, the last one shorter.
template <class Take>
void inPieces(QByteArrayView bytes, qsizetype piece, Take take)
{
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        take(bytes.sliced(at, std::min(piece, bytes.size() - at)));
}
// Reports what went wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] void finding(const QString &what);

} // namespace kelmon::fuzz
