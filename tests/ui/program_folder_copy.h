// A private copy of the program folder for one UI test, so tests that write the band file
// or the settings never change the shared copy beside the executables.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtGlobal>

namespace trimora::test {

class ProgramFolderCopy {
public:
    // Copies the folder TRIMORA_HOME names (the build's program folder), leaving out the
    // subfolders listed in `skip`, and points TRIMORA_HOME at the copy until destruction.
    explicit ProgramFolderCopy(const QStringList& skip = {}) {
        previous_ = qgetenv("TRIMORA_HOME");
        const QString source = QString::fromLocal8Bit(previous_);
        for (const char* folder : {"Config", "Lang", "Projects"}) {
            if (skip.contains(folder)) continue;
            CopyTree(QDir(source).filePath(folder), dir_.filePath(folder));
        }
        qputenv("TRIMORA_HOME", dir_.path().toLocal8Bit());
    }
    ~ProgramFolderCopy() { qputenv("TRIMORA_HOME", previous_); }

    QString Path(const QString& relative = {}) const {
        return relative.isEmpty() ? dir_.path() : dir_.filePath(relative);
    }

private:
    static void CopyTree(const QString& from, const QString& to) {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = to + path.mid(from.size());
            if (QFileInfo(path).isDir())
                QDir().mkpath(target);
            else
                QFile::copy(path, target);
        }
    }

    QTemporaryDir dir_;
    QByteArray previous_;
};

}  // namespace trimora::test
