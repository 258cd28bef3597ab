// Running this test program again, for one of its tests, on a laptop
// screen: the offscreen platform's screen is fixed when the application
// starts, so each screen needs a program of its own.
#pragma once

#include <filesystem>
#include <string>

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include "support/tools.h"

namespace testsupport {

// Runs `test` (a gtest name) of this program on a 1366 x 768 screen at the
// scale factor `scala`, with the environment variable `figlio` set to 1 so
// that the test knows it is the child, and tells whether it passed, with the
// child's output when not. The screen's description is written into
// `cartella`. A child still running after `secondi` (say, a window waiting
// for a user who is not there) is killed, so that the parent fails at once
// instead of at the test runner's own limit.
inline ::testing::AssertionResult passa_su_schermo_portatile(const std::filesystem::path& cartella,
                                                             const char* figlio, const char* scala,
                                                             const char* test, int secondi = 30) {
    const std::filesystem::path schermo = cartella / "schermo.json";
    write_file(schermo, R"({"screens":[{"name":"portatile","x":0,"y":0,"width":1366,)"
                        R"("height":768,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QString::fromLatin1(figlio), QStringLiteral("1"));
    ambiente.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scala));
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"),
                    QStringLiteral("offscreen:configfile=") + QString::fromStdString(schermo.string()));
    QProcess processo;
    processo.setProcessEnvironment(ambiente);
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.setStandardInputFile(QProcess::nullDevice());
    processo.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=") + QString::fromLatin1(test)});
    const bool finito = processo.waitForFinished(secondi * 1000);
    if (!finito) {
        processo.kill();
        processo.waitForFinished();
    }
    const std::string uscita = processo.readAll().toStdString();
    if (!finito)
        return ::testing::AssertionFailure() << "scale " << scala << ": still running after " << secondi
                                             << " s, stopped\n" << uscita;
    if (processo.exitStatus() != QProcess::NormalExit || processo.exitCode() != 0 ||
        uscita.find("[  PASSED  ] 1 test") == std::string::npos)
        return ::testing::AssertionFailure() << "scale " << scala << "\n" << uscita;
    return ::testing::AssertionSuccess();
}

}  // namespace testsupport
