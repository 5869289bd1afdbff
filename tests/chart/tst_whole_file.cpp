// Chart files are replaced whole or not at all, and only regular ones.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <fstream>

#include "chart/format.h"
#include "chart/whole_file.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    return bool(file << text);
}

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

class TstWholeFile : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir;  // made when tests run, not when they are listed

  private slots:
    void initTestCase() { dir.emplace(); }
    void fileNamesEndInSvgOrPng() {
        QVERIFY(chart::FormatOf("a.Png") == chart::Format::Png);
        QVERIFY(chart::FormatOf("a.SVG") == chart::Format::Svg);
        QVERIFY(!chart::FormatOf("a.png.txt"));
    }

    // Files are replaced whole or not at all, and only regular ones.
    void replacesAFileWholeKeepingItsMode() {
        const std::string path = dir->filePath("whole.svg").toStdString();
        QVERIFY(Write(path, "old"));
        chmod(path.c_str(), 0640);
        QCOMPARE(chart::ReplaceWhole(path, "new"), std::string());
        QCOMPARE(Read(path), std::string("new"));
        struct stat after {};
        stat(path.c_str(), &after);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Hidden | QDir::Files).filter(".daylight"),
                 QStringList());
    }

    // A file its user may not write (mode 0444) is left as it is, with the reason, as the shell's
    // > leaves it; root, who may write anything, is made such a user in a process of its own.
    void leavesAFileItsUserMayNotWrite() {
        const QString folder = dir->filePath("read-only");
        QVERIFY(QDir().mkpath(folder));
        // Open to everyone, so that only the file's own mode can refuse.
        chmod(dir->path().toLocal8Bit().constData(), 0711);
        chmod(folder.toLocal8Bit().constData(), 0777);
        const std::string path = (folder + "/kept.svg").toStdString();
        QVERIFY(Write(path, "old"));
        chmod(path.c_str(), 0444);
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
            _exit(chart::ReplaceWhole(path, "new") == "Permission denied" ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(Read(path), std::string("old"));
    }

    void refusesWhatIsNotARegularFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("points");  // where a link points, or nothing
        QTest::newRow("a folder") << "folder" << QString();
        QTest::newRow("a device") << "/dev/null" << QString();
        QTest::newRow("a link to a device") << "device-link"
                                            << "/dev/null";
        QTest::newRow("a link to a folder") << "folder-link" << dir->path();
    }
    void refusesWhatIsNotARegularFile() {
        QFETCH(QString, name);
        QFETCH(QString, points);
        const std::string path =
            name.startsWith(u'/') ? name.toStdString() : dir->filePath(name).toStdString();
        if (name == u"folder") QVERIFY(QDir(dir->path()).mkpath(name));
        if (!points.isEmpty()) QVERIFY(QFile::link(points, QString::fromStdString(path)));
        struct stat before {
        }, after{};
        lstat(path.c_str(), &before);
        QVERIFY(!chart::ReplaceWhole(path, "chart").empty());
        lstat(path.c_str(), &after);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    void aLinkToAFileReplacesTheFile() {
        const std::string file = dir->filePath("linked.png").toStdString();
        const std::string link = dir->filePath("link.png").toStdString();
        QVERIFY(Write(file, "old"));
        QVERIFY(symlink(file.c_str(), link.c_str()) == 0);
        QCOMPARE(chart::ReplaceWhole(link, "new"), std::string());
        QCOMPARE(Read(file), std::string("new"));
        QVERIFY(QFileInfo(QString::fromStdString(link)).isSymLink());
    }

    // A disk that fills part-way: the old file stays as it was, and no temporary file is left.
    void aFullDiskLeavesTheOldFile() {
        const std::string path = dir->filePath("full.svg").toStdString();
        QVERIFY(Write(path, "old"));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{100, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        const std::string reason = chart::ReplaceWhole(path, std::string(1000, 'x'));
        setrlimit(RLIMIT_FSIZE, &limit);
        QCOMPARE(reason, std::string("File too large"));
        QCOMPARE(Read(path), std::string("old"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Hidden | QDir::Files).filter(".daylight"),
                 QStringList());
    }

    // The name is used byte for byte, also where it is not UTF-8.
    void aNameThatIsNotUtf8IsKeptByteForByte() {
        const std::string path = dir->path().toStdString() + "/year-\xff.svg";
        QCOMPARE(chart::ReplaceWhole(path, "<svg/>"), std::string());
        struct stat seen {};
        const int found = stat(path.c_str(), &seen);
        // The temporary folder, which reads its names as UTF-8, could not remove this one.
        std::remove(path.c_str());
        QCOMPARE(found, 0);
    }
};

QTEST_MAIN(TstWholeFile)
#include "tst_whole_file.moc"
