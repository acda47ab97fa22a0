#pragma once
// What the test suites of the window share: their runners, the message-box catcher, and the
// checks of a window connected to a demonstration meter.

#include "shell/message.h"

#include <QList>
#include <QStringList>

namespace zr::shell
{
class MainWindow;
}

namespace zr::test
{

int RunWindowTests(int argc, char** argv);
int RunSettingsPageTests(int argc, char** argv);
int RunConnectionPanelTests(int argc, char** argv);
int RunJournalPageTests(int argc, char** argv);
int RunSchedulePageTests(int argc, char** argv);
int RunStatusDialogTests(int argc, char** argv);
int RunWiringTests(int argc, char** argv);
int RunEndToEndTests(int argc, char** argv);

// Collects message boxes instead of showing them; `onMessage` runs while the box would be up.
struct MessageCatcher {
    QList<shell::Message> messages;
    std::function<void()> onMessage;
    shell::MessageHandler previous;
    MessageCatcher()
    {
        previous = shell::SetMessageHandler([this](QWidget*, const shell::Message& m) {
            messages.append(m);
            if (onMessage)
                onMessage();
            return QMessageBox::Ok;
        });
    }
    ~MessageCatcher() { shell::SetMessageHandler(previous); }
};

// The traffic log's lines.
QStringList LogLines(const shell::MainWindow& window);
// The request frames the log shows sent, in order (hex text without blanks).
QStringList SentFrames(const QStringList& log);
// Every line is one of the hex forms (address sent, bytes received, frame sent); returns the
// first line that is not, or an empty text.
QString MalformedLine(const QStringList& log);

// The "О счетчике" tab and the kept values show a demonstration meter (address 0, empty
// password) whose factory number is `number`; time-dependent values are checked for form and
// plausibility. Reports through QTest; check QTest::currentTestFailed() after it.
void CheckDemoMeterShown(const shell::MainWindow& window, uint32_t number);

// The tariff (1..8) the demonstration meter's schedule puts in force now.
int DemoTariffNow();

} // namespace zr::test
