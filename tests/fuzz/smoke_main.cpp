// Runs every fuzz target over its committed corpus (tests/fuzz/corpus/<target>/)
// as ordinary inputs, so that the gcc build catches regressions without
// clang or libFuzzer. A failing property aborts; the last input named is
// the one that failed.
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

// fuzztargets.inc holds FUZZ_TARGET(name) for every <name>_fuzz.cpp, whose
// entry point the build renames fuzz_<name>.
#define FUZZ_TARGET(name) extern "C" int fuzz_##name(const uint8_t *data, size_t size);
#include "fuzztargets.inc"
#undef FUZZ_TARGET

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    struct Target {
        const char *name;
        int (*run)(const uint8_t *, size_t);
    };
    const Target targets[] = {
#define FUZZ_TARGET(name) {#name, fuzz_##name},
#include "fuzztargets.inc"
#undef FUZZ_TARGET
    };
    int failed = 0;
    int inputs = 0;
    for (const Target &target : targets) {
        const QDir dir(QString::fromLocal8Bit(argv[1]) + u'/' + QString::fromLatin1(target.name));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) {
            std::printf("%s: no corpus in %s\n", target.name, qPrintable(dir.path()));
            ++failed;
            continue;
        }
        for (const QString &file : files) {
            QFile input(dir.filePath(file));
            if (!input.open(QIODevice::ReadOnly)) {
                std::printf("%s: cannot read %s\n", target.name, qPrintable(file));
                ++failed;
                continue;
            }
            const QByteArray bytes = input.readAll();
            std::printf("%s: %s (%lld bytes)\n", target.name, qPrintable(file), static_cast<long long>(bytes.size()));
            std::fflush(stdout);
            target.run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d passed, %d failed\n", inputs, failed);
    return failed == 0 ? 0 : 1;
}
