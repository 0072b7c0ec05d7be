// The floor of checking one file: the file read and decoded as
// `zuvi-taggen check` reads and decodes it, and nothing else. Its peak
// memory is what the check's is compared with.
#include "core/files/templatefile.h"

#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: zuvi-read-decode FILE\n", stderr);
        return 2;
    }
    QString error;
    const auto decoded = readTemplateFile(QByteArray(argv[1]), &error);
    if (!decoded) {
        std::fprintf(stderr, "zuvi-read-decode: %s\n", qPrintable(error));
        return 2;
    }
    return decoded->text.isEmpty() ? 1 : 0;
}
