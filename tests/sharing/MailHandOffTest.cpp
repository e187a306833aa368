// The mail hand-over without a desktop portal (the tests have no session bus): xdg-email when there
// is one that works, else the error the window shows.
#include "sharing/services/MailHandOff.h"

#include "SharingTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

TEST(MailHandOffTest, FallsBackToXdgEmailAndSaysSoWhenNoMailProgramWorks) {
    QTemporaryDir bin;
    const QString log = bin.filePath("arguments.txt");
    const QString photo = makeJpeg(32, 32);
    struct Case {
        const char* name;
        const char* script; // nullptr: no xdg-email on PATH
        bool ok;
    };
    const Case cases[] = {
        {"xdg-email works", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$LOG\"\n", true},
        {"xdg-email finds no mail program", "#!/bin/sh\nexit 3\n", false},
        {"no xdg-email", nullptr, false},
    };
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("LOG", log.toLocal8Bit());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(bin.filePath("xdg-email"));
        QFile::remove(log);
        if (c.script) {
            QFile script(bin.filePath("xdg-email"));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(c.script);
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        const MailHandOffResult result = composeMailWithAttachment(photo, "A picture", "Here it is");
        qputenv("PATH", oldPath);
        EXPECT_EQ(result.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(result.through, "xdg-email");
            QFile arguments(log);
            ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(arguments.readAll()).split('\n', Qt::SkipEmptyParts);
            EXPECT_EQ(lines,
                      (QStringList{"--subject", "A picture", "--body", "Here it is", "--attach", photo}));
        } else {
            EXPECT_EQ(
                result.error,
                QString(
                    "Mail application not found. Install a mail program, or attach the picture yourself."));
            EXPECT_TRUE(result.error.startsWith("Mail application not found"));
        }
    }
    const MailHandOffResult missing = composeMailWithAttachment(bin.filePath("gone.jpg"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains("gone.jpg"));
}

} // namespace
