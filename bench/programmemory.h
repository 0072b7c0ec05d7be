#pragma once

#include "bench/support.h"

#include <QByteArrayList>
#include <QString>

// The built program run once as a child, its standard output thrown away
// and its standard input read from `input` (nothing where empty): its
// resident memory as it is about to exit, the most resident it ever was
// (`peak`), and its exit status. Read from /proc when the program is about
// to exit, stopped there as a traced child: wait4()'s ru_maxrss would also
// count the memory of the benchmark process, which the child is forked from.
struct ProgramMemory {
    Residency atExit;   // MiB
    int status = -1;    // the exit status; -1 where it did not run or exit
};
ProgramMemory programMemory(const QByteArrayList &arguments, const QString &input = {});
