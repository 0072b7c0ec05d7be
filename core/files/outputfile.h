#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <sys/types.h>

// Where a command writes what it makes: standard output ("-"), or a target
// named by the bytes the user gave.
//
// A regular file, or a name not there yet, is written whole to a temporary
// file beside it and renamed over it, so that it is always either the old
// file or the whole new one; a file replaced keeps its mode, owner and group.
// Where a file beside it cannot keep them (the process may not give the file
// its owner, or may not create files in its folder), or where the file has
// other hard links, it is written in place instead, as the shell's `>`
// would, but only at the commit: what is written before is held, so that
// the file is not emptied while the command still reads (it may be one of
// its inputs) and a command that stops early leaves it as it was. The
// commit holds an advisory lock on it (flock) and the signals that end the
// process, so that runs writing it at once leave one of their outputs whole.
// Anything else (a device, a FIFO, a socket, or one of the process's own
// descriptors named as /dev/stdout, /dev/fd/N) is written directly and never
// replaced; a FIFO no process reads is an error, not a wait.
//
// Every write, the flush to disk and the close are checked. A failure says
// the target's name and the system's reason, removes the temporary file, and
// leaves a file written in place empty: nothing half-written stays. So does a
// signal that ends the process (core/files/leftovercleanup.h), and a write past
// the file-size limit fails as any other instead of killing the process.
class OutputFile
{
public:
    explicit OutputFile(QByteArray target);
    ~OutputFile();   // what was not committed is discarded
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    bool commit();
    // One line: "cannot write NAME: reason", or for standard output
    // "write error: reason", as other command-line tools say it.
    QString errorString() const { return m_error; }
    // Whether the failure was a FIFO that no process reads: the target named
    // cannot take output now, which is the user's to fix, not a write error.
    bool hadNoReader() const { return m_noReader; }

    // Opens, writes and commits; returns the error, empty when all was written.
    static QString writeWhole(const QByteArray &target, QByteArrayView bytes);

private:
    enum class Way { Closed, StandardOutput, Direct, InPlace, Replace };

    bool openRegular(const QByteArray &path, bool mayReplace);
    bool createTemporary(const QByteArray &finalPath, const struct stat *existing);
    bool fail(int error);
    bool failWithoutReader();
    bool commitInPlace();
    void discard();

    QByteArray m_target;
    Way m_way = Way::Closed;
    int m_fd = -1;
    bool m_syncs = false;         // a file or block device: flushed to disk before the close
    QByteArray m_temporary;       // Replace: the file written, renamed over m_final
    QByteArray m_final;
    QByteArray m_held;            // InPlace: what is written at the commit
    QString m_error;
    bool m_noReader = false;
};

// A standard descriptor (0, 1, 2) that the program was started without gets
// /dev/null opened the wrong way round, so that a file the program opens
// later cannot take its number, and writing to a closed standard output
// still fails (EBADF) instead of reaching that file. Call first in main().
void reserveClosedStandardDescriptors();
