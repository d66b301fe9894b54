#pragma once
// A home of its own for a test, fuzz or benchmark process: HOME and the XDG folders point at a
// fresh folder under `root`, removed at exit, so Qt's file dialog history, QSettings and any
// defaults a test writes never reach the user's own configuration. Made before the
// QApplication, which reads these variables once.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

class TemporaryHome {
public:
    explicit TemporaryHome(const QString& root) : dir_(templateUnder(root))
    {
        if (!dir_.isValid()) {
            // Running against the real home would defeat the point; stop instead.
            std::fprintf(stderr, "cannot make a temporary home under %s\n", qPrintable(root));
            std::exit(2);
        }
        const QDir home(dir_.path());
        const std::pair<const char*, const char*> folders[] = {{"HOME", "."},
                                                               {"XDG_CONFIG_HOME", ".config"},
                                                               {"XDG_DATA_HOME", ".local/share"},
                                                               {"XDG_STATE_HOME", ".local/state"},
                                                               {"XDG_CACHE_HOME", ".cache"},
                                                               {"XDG_RUNTIME_DIR", "runtime"}};
        for (const auto& [variable, folder] : folders) {
            const QString path = QDir::cleanPath(home.filePath(QString::fromLatin1(folder)));
            home.mkpath(path);
            qputenv(variable, QFile::encodeName(path));
        }
        // Qt wants its runtime folder private to the user.
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStandardPaths::setTestModeEnabled(true);
    }

    QString path() const { return dir_.path(); }

private:
    static QString templateUnder(const QString& root)
    {
        QDir().mkpath(root);
        return root + QStringLiteral("/home-XXXXXX");
    }

    QTemporaryDir dir_;
};
