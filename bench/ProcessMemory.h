#pragma once
// Memory of this process as the kernel counts it, in MB: restartPeak() puts the high-water
// mark (VmHWM) back to the current size; statusMB("VmRSS:") or statusMB("VmHWM:") reads.
#include <QByteArray>
#include <QFile>
#include <malloc.h>

inline void restartPeak()
{
    malloc_trim(0);
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

inline double statusMB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}
