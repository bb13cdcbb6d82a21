#include "platform/qt_program_launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

namespace zt {

bool QtProgramLauncher::start(const std::filesystem::path& executable)
{
    const QString program = QString::fromStdString(executable.string());
    if (!QFileInfo(program).isExecutable()) return false;
    return QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}

}  // namespace zt
