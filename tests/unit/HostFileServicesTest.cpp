// SPDX-License-Identifier: MIT
// The host's file services against a real directory tree: an application directory with a
// neighbour outside it. Every traversal attempt must fail or land inside, and the tree outside
// must come out of every test byte for byte as it went in.
#include "IO/HostFileServices.h"
#include "FileTestSupport.h"
#include "IO/FileInputStream.h"
#include "IO/FileOutputStream.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>

using namespace zelmo;
using TARNEL::InputStream;
using TARNEL::OutputStream;
using zelmo::testing::fileBytes;
using zelmo::testing::putFile;

namespace {

using Snapshot = std::map<QString, QByteArray>;

bool writeAll(OutputStream& out, const QByteArray& bytes)
{
    return out.write(reinterpret_cast<const uint8_t*>(bytes.constData()),
                     static_cast<uint32_t>(bytes.size()));
}

QByteArray readAll(InputStream& in)
{
    QByteArray bytes(in.size() - in.position(), '\0');
    return in.read(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()))
               ? bytes
               : QByteArray("<read failed>");
}

class HostFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir root(m_root.path());
        for (const char* dir : {"app/sub", "app/emptydir", "outside/dir", "appx"})
            ASSERT_TRUE(root.mkpath(dir));
        for (const auto& [path, text] : {std::pair{"app/data.txt", "data"},
                                         {"app/sub/inner.txt", "inner"},
                                         {"outside/secret.txt", "secret"},
                                         {"outside/dir/x", "x"},
                                         {"appx/y", "y"},
                                         {"x", "top"}})
            putFile(m_root.filePath(path), text);
        m_before = outsideApp();
        m_tmpX = describe("/tmp/x");
        m_services = std::make_unique<HostFileServices>(app().toStdU16String());
    }

    void TearDown() override
    {
        m_services.reset();
        EXPECT_EQ(outsideApp(), m_before) << "something outside the application changed";
        EXPECT_EQ(describe("/tmp/x"), m_tmpX);
    }

    QString app() const { return m_root.filePath("app"); }
    QString inApp(const QString& relative) const { return app() + '/' + relative; }

    // Type and contents of one path, without following a final symbolic link.
    static QByteArray describe(const QString& absolute)
    {
        const QFileInfo info(absolute);
        if (info.isSymLink()) return "link:" + QFile::encodeName(info.symLinkTarget());
        if (info.isDir()) return "dir";
        if (info.exists()) return "file:" + fileBytes(absolute);
        return "none";
    }

    Snapshot tree(const QString& top, const QString& skip = {}) const
    {
        Snapshot snapshot;
        QDirIterator it(top, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!skip.isEmpty() && (path == skip || path.startsWith(skip + '/'))) continue;
            snapshot[path] = describe(path);
        }
        return snapshot;
    }
    Snapshot outsideApp() const { return tree(m_root.path(), app()); }
    Snapshot everything() const { return tree(m_root.path()); }

    QTemporaryDir m_root;
    Snapshot m_before;
    QByteArray m_tmpX;
    std::unique_ptr<HostFileServices> m_services;
};

} // namespace

TEST_F(HostFiles, BadPathsFailEveryServiceWithoutTouchingAnything)
{
    // Ways out of the directory, then names that are not plain names, then NUL characters.
    std::vector<std::u16string> bad;
    for (const char16_t* path :
         {u"..", u"../outside/secret.txt", u"sub/../../outside/secret.txt",
          u"..\\outside\\secret.txt", u"sub\\..\\..\\x", u"/../x", u"//..//outside", u"", u"....",
          u"a..b", u"x:y", u"C:\\outside", u"a|b", u"|", u":"})
        bad.emplace_back(path);
    for (const auto& [text, length] : {std::pair{u"a\0b", 3}, {u"data.txt\0", 9}, {u"\0", 1}})
        bad.emplace_back(text, length);
    const Snapshot before = everything();
    auto& s = *m_services;
    for (const std::u16string& path : bad) {
        SCOPED_TRACE(QString::fromStdU16String(path).toStdString());
        EXPECT_EQ(s.openFileWriter(path, 1), nullptr);
        EXPECT_EQ(s.openFileWriter(path, 0), nullptr);
        EXPECT_EQ(s.openFileReader(path), nullptr);
        EXPECT_FALSE(s.deleteFile(path));
        EXPECT_FALSE(s.fileExists(path));
        EXPECT_FALSE(s.renameFile(path, u"moved"));
        EXPECT_FALSE(s.renameFile(u"data.txt", path));
        std::vector<std::u16string> files{u"stale"}, dirs{u"stale"};
        EXPECT_FALSE(s.listDirectory(path, files, dirs, 1));
        EXPECT_TRUE(files.empty());
        EXPECT_TRUE(dirs.empty());
        EXPECT_FALSE(s.createDirectory(path));
        EXPECT_FALSE(s.deleteDirectory(path));
        EXPECT_FALSE(s.renameDirectory(path, u"moved"));
        EXPECT_FALSE(s.renameDirectory(u"sub", path));
        EXPECT_FALSE(s.directoryExists(path));
        EXPECT_EQ(s.setLogFile(path), path.empty()); // empty: closes the log, true
    }
    EXPECT_EQ(everything(), before);
}

// A path that is good but looks dangerous: a file and a directory of that name must appear at
// `expected`, inside the application directory (every service maps its path the same way).
void exerciseEveryService(HostFileServices& s, const std::u16string& path, const QString& expected)
{
    SCOPED_TRACE(QString::fromStdU16String(path).toStdString());
    EXPECT_FALSE(s.fileExists(path));
    auto out = s.openFileWriter(path, 1);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(writeAll(*out, "abc"));
    EXPECT_TRUE(out->closeChecked());
    EXPECT_EQ(fileBytes(expected), "abc");
    auto in = s.openFileReader(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readAll(*in), "abc");
    in.reset();
    EXPECT_TRUE(s.deleteFile(path));
    EXPECT_TRUE(s.createDirectory(path));
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_TRUE(s.directoryExists(path));
    EXPECT_TRUE(s.deleteDirectory(path));
    EXPECT_FALSE(QFileInfo::exists(expected));
}

TEST_F(HostFiles, DangerousLookingGoodPathsStayInside)
{
    auto& s = *m_services;
    // An absolute path is joined below the application directory, never used as it stands.
    exerciseEveryService(s, u"/tmp/x", inApp("tmp/x"));
    // Letters whose low bytes spell "../" are letters: the name is UTF-8, not truncated units.
    exerciseEveryService(s, u"\u012E\u012E\u012Fx",
                         inApp(QString::fromUtf16(u"\u012E\u012E\u012Fx")));
    exerciseEveryService(s, u"\\outside\\dir\\x", inApp("outside/dir/x"));
    exerciseEveryService(s, u"./sub/./new", inApp("sub/new"));
    // Units that look like byte-order marks are ordinary characters: read as marks (as a fuzzer
    // once found), they were dropped or swapped the rest of the name, U+2F00 into a separator.
    for (const std::u16string path : {u"\uFFFEa\u2F00b", u"\uFEFFx"})
        exerciseEveryService(
            s, path,
            inApp(QString(reinterpret_cast<const QChar*>(path.data()), qsizetype(path.size()))));
    const std::u16string outsideAbsolute = m_root.filePath("outside/secret.txt").toStdU16String();
    exerciseEveryService(s, outsideAbsolute, inApp(m_root.filePath("outside/secret.txt").mid(1)));

    // Existing files are reached through the same mapping.
    auto in = s.openFileReader(u"///sub//inner.txt");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readAll(*in), "inner");
    EXPECT_EQ(s.openFileReader(outsideAbsolute), nullptr); // no such file inside the application
}

TEST_F(HostFiles, TheApplicationDirectoryItselfIsNeverRemovedOrReplaced)
{
    auto& s = *m_services;
    for (const char16_t* rootText : {u"/", u".", u"//", u"\\", u"./."}) {
        const std::u16string root = rootText;
        EXPECT_TRUE(s.directoryExists(root));
        EXPECT_FALSE(s.deleteDirectory(root));
        EXPECT_FALSE(s.renameDirectory(root, u"elsewhere"));
        EXPECT_FALSE(s.renameDirectory(u"emptydir", root));
        EXPECT_FALSE(s.renameFile(u"data.txt", root));
        EXPECT_EQ(s.openFileWriter(root, 1), nullptr);
        EXPECT_EQ(s.openFileReader(root), nullptr);
        EXPECT_FALSE(s.setLogFile(root));
    }
    std::vector<std::u16string> files, dirs;
    EXPECT_TRUE(s.listDirectory(u"/", files, dirs, 1));
    EXPECT_EQ(files, std::vector<std::u16string>{u"data.txt"});
    EXPECT_EQ(dirs, (std::vector<std::u16string>{u"emptydir", u"sub"}));
    EXPECT_TRUE(QFileInfo(app()).isDir());
}

TEST_F(HostFiles, LogFileTakesUtf8LinesAndFollowsSetLogFile)
{
    auto& s = *m_services;
    EXPECT_FALSE(s.logLine(u"before any log file"));
    ASSERT_TRUE(s.setLogFile(u"logs/app.log")); // its directory is created
    EXPECT_TRUE(s.logLine(u"h\u00e9llo \u0142"));
    EXPECT_TRUE(s.logLine(u"")); // an empty message leaves no line in the file
    EXPECT_TRUE(s.logLine(u"second"));
    EXPECT_EQ(fileBytes(inApp("logs/app.log")), "LOG: h\xc3\xa9llo \xc5\x82\nLOG: second\n");

    // A bad path fails and leaves the current log file in place.
    EXPECT_FALSE(s.setLogFile(u"../escape.log"));
    EXPECT_TRUE(s.hasLogFile());
    EXPECT_TRUE(s.logLine(u"third"));
    EXPECT_EQ(fileBytes(inApp("logs/app.log")),
              "LOG: h\xc3\xa9llo \xc5\x82\nLOG: second\nLOG: third\n");

    // Opening it again starts it empty; an empty path stops file logging.
    ASSERT_TRUE(s.setLogFile(u"logs/app.log"));
    EXPECT_EQ(fileBytes(inApp("logs/app.log")), "");
    EXPECT_TRUE(s.setLogFile(u""));
    EXPECT_FALSE(s.hasLogFile());
    EXPECT_FALSE(s.logLine(u"nowhere"));
    EXPECT_EQ(fileBytes(inApp("logs/app.log")), "");

    // A failed open releases the previous log file.
    ASSERT_TRUE(s.setLogFile(u"logs/app.log"));
    EXPECT_FALSE(s.setLogFile(u"data.txt/below"));
    EXPECT_FALSE(s.hasLogFile());
}

TEST_F(HostFiles, AReadOnlyDirectoryIsNeverWrittenAndItsWritesGoToTheDataFolder)
{
    QTemporaryDir dataHome;
    ASSERT_TRUE(dataHome.isValid());
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const auto appTree = tree(app());
    // No write bit anywhere: read-only even for root, who could write regardless.
    const auto setWritable = [this](bool writable) {
        for (const QString& dir : {app(), inApp("sub"), inApp("emptydir")})
            QFile::setPermissions(dir, writable ? QFile::permissions(dir) | QFile::WriteOwner
                                                : QFile::permissions(dir) &
                                                      ~(QFile::WriteOwner | QFile::WriteUser |
                                                        QFile::WriteGroup | QFile::WriteOther));
    };
    setWritable(false);
    HostFileServices s(app().toStdU16String());
    ASSERT_TRUE(s.dataFolder().has_value());
    const QString data = QString::fromStdU16String(s.dataFolder()->baseDirectory());
    EXPECT_TRUE(data.startsWith(dataHome.path() + "/zelmo/app-")) << data.toStdString();

    // Appending to an installed file continues a copy; reads then see the copy.
    auto appended = s.openFileWriter(u"sub/inner.txt", 0);
    ASSERT_NE(appended, nullptr);
    EXPECT_TRUE(writeAll(*appended, "+more"));
    appended.reset();
    EXPECT_EQ(fileBytes(data + "/sub/inner.txt"), "inner+more");
    auto reader = s.openFileReader(u"sub/inner.txt");
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(readAll(*reader), "inner+more");
    reader = s.openFileReader(u"data.txt"); // only installed: read from the directory
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(readAll(*reader), "data");
    reader.reset();

    EXPECT_TRUE(s.createDirectory(u"saves"));
    ASSERT_NE(s.openFileWriter(u"saves/a", 1), nullptr);
    EXPECT_TRUE(s.directoryExists(u"saves"));
    EXPECT_TRUE(s.directoryExists(u"emptydir"));
    std::vector<std::u16string> files, dirs;
    EXPECT_TRUE(s.listDirectory(u".", files, dirs, 0));
    EXPECT_EQ(files, std::vector<std::u16string>{u"data.txt"});
    EXPECT_EQ(dirs, (std::vector<std::u16string>{u"emptydir", u"saves", u"sub"}));

    // Installed files can be neither removed nor renamed, nor replaced by a rename.
    EXPECT_FALSE(s.deleteFile(u"data.txt"));
    EXPECT_FALSE(s.renameFile(u"data.txt", u"moved.txt"));
    EXPECT_FALSE(s.renameFile(u"saves/a", u"data.txt"));
    EXPECT_FALSE(s.renameDirectory(u"saves", u"sub"));
    EXPECT_TRUE(s.renameFile(u"saves/a", u"saves/b"));
    EXPECT_TRUE(s.fileExists(u"saves/b"));
    // Deleting the written copy shows the installed file again.
    EXPECT_TRUE(s.deleteFile(u"sub/inner.txt"));
    EXPECT_TRUE(s.fileExists(u"sub/inner.txt"));
    EXPECT_TRUE(s.setLogFile(u"logs/run.log"));
    EXPECT_TRUE(s.logLine(u"x"));
    EXPECT_TRUE(QFileInfo::exists(data + "/logs/run.log"));

    setWritable(true);
    EXPECT_EQ(tree(app()), appTree) << "the read-only directory changed";
    qunsetenv("XDG_DATA_HOME");
}
