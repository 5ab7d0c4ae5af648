#include "app/ui/frmversion.h"
#include "app/ui/startup.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelmon"));
    QApplication::setApplicationVersion(kelmon::programVersion());
    QApplication::setQuitOnLastWindowClosed(true);

    // Standard buttons and dialogs in Japanese.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
    QApplication::setFont(kelmon::makeFont(kelmon::DefaultFontName, 9));

    return kelmon::runViewer();
}
