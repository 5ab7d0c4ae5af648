// kelmon_folder: prints the viewer's program folder, one line. The run script
// asks it rather than repeating the rule that picks the folder.

#include "common/programfolder.h"

#include <QFile>
#include <cstdio>

int main()
{
    std::puts(QFile::encodeName(kelmon::programFolder()).constData());
    return 0;
}
