#include "support/run_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QStringList>

ProgramRun RunProgramFor(const std::string& program, const std::vector<std::string>& arguments, int seconds)
{
    ProgramRun run;
    QStringList list;
    std::string command = program;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
        command += " '" + argument + "'";
    }
    QProcess process;
    process.start(QString::fromStdString(program), list);
    std::string what;
    if (!process.waitForStarted(seconds * 1000)) {
        what = std::string("did not start: ") + process.errorString().toStdString();
    } else if (!process.waitForFinished(seconds * 1000)) {
        process.kill();
        process.waitForFinished();
        what = std::string("did not end within ") + std::to_string(seconds) + " s";
    } else if (process.exitStatus() != QProcess::NormalExit) {
        what = "crashed";
    } else {
        run.exitCode = process.exitCode();
        if (run.exitCode != 0)
            what = std::string("exited with ") + std::to_string(run.exitCode);
    }
    run.out = process.readAllStandardOutput().toStdString();
    run.errors = process.readAllStandardError().toStdString();
    run.ok = what.empty();
    if (!run.ok)
        run.failure = command + " " + what + (run.errors.empty() ? std::string(", saying nothing") : ":\n" + run.errors);
    return run;
}

int EndedWithin(pid_t child, int seconds, bool* inTime)
{
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < seconds * 100 && (ended = ::waitpid(child, &status, WNOHANG)) == 0; ++i)
        ::usleep(10000);
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    if (inTime)
        *inTime = ended != 0;
    return status;
}
