// Debian's screen reader Orca reads the window as a user hears it: the
// entries' times whole, the day list's value on focus and on each move, and
// the report's first line after Compute. The X server, the buses, speech and
// Orca are fixtures (tests/orca/CMakeLists.txt); this program starts the
// window, presses keys with xdotool and reads what Orca said from its log.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <cstdio>

namespace {

// Orca's log, line by line. Gives an empty list when the log cannot be read.
QStringList LogLines() {
  QFile log(qEnvironmentVariable("VELLAMIRE_ORCA_LOG"));
  if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
}

// What Orca said from log line `from` on: each SPEECH OUTPUT line's
// utterance, joined by blanks; after it the line has the voice, one or a
// list of them. Cannot fail.
QString SpokenSince(int from) {
  static const QRegularExpression kUtterance(
      QStringLiteral("SPEECH OUTPUT: '(.*)'(?: voice=\\w+)? ?(?:\\{.*\\}|\\[.*\\]|None)?$"));
  QStringList said;
  for (const QString& line : LogLines().mid(from)) {
    const QRegularExpressionMatch match = kUtterance.match(line);
    if (match.hasMatch()) said << match.captured(1);
  }
  return said.join(QLatin1Char(' '));
}

// Whether Orca has handled `event` since log line `from`: its log shows the
// event taken from Orca's queue and, after it, where the focus then is.
// Cannot fail.
bool HandledSince(int from, const QString& event) {
  const QStringList lines = LogLines().mid(from);
  const auto taken = lines.indexOf(
      QRegularExpression(QStringLiteral(".*Dequeued %1.*").arg(QRegularExpression::escape(event))));
  return taken >= 0 &&
         lines.indexOf(QRegularExpression(QStringLiteral(".*EVENT MANAGER: locusOfFocus:.*")),
                       taken) > taken;
}

// Runs xdotool with `arguments` and tells whether it succeeded within 10 s
// (its search waits for the window for ever). Cannot fail.
bool Xdotool(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  if (xdotool.waitForFinished(10000)) return xdotool.exitCode() == 0;
  xdotool.kill();
  xdotool.waitForFinished();
  return false;
}

}  // namespace

class OrcaReadsForm1Test : public QObject {
  Q_OBJECT

 private:
  QProcess program_;
  int start_ = 0;  // the log's line where the window starts

 private slots:
  void initTestCase() {
    QVERIFY2(
        QTest::qWaitFor([] { return SpokenSince(0).contains(QStringLiteral("Screen reader on.")); },
                        30000),
        "Orca did not start");
    start_ = static_cast<int>(LogLines().size()) - 1;
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(qEnvironmentVariable("VELLAMIRE_PROGRAM"), QStringList());
    QVERIFY2(program_.waitForStarted(), qPrintable(program_.errorString()));
  }

  void cleanupTestCase() {
    program_.terminate();
    if (!program_.waitForFinished(5000)) program_.kill();
  }

  // One step of a session, in order: what the user does, and what Orca must
  // say then.
  void readsEachStep_data() {
    QTest::addColumn<QString>("action");  // xdotool's arguments
    QTest::addColumn<QString>("heard");
    const QString focus =
        QStringLiteral("search --sync --all --onlyvisible --pid %1 --name . windowfocus --sync")
            .arg(program_.processId());
    // clang-format off
    QTest::newRow("focus: Sunrise")    << focus      << "Sunrise : text\\..*05:30\\b";
    QTest::newRow("Tab: Sunset")       << "key Tab"  << "Sunset  : text\\..*18:30\\b";
    QTest::newRow("Tab: next Sunrise") << "key Tab"  << "\\(next day\\) : text\\..*05:30\\b";
    QTest::newRow("Tab: day list")     << "key Tab"  << "\\bSunday\\b";
    QTest::newRow("Down: Monday")      << "key Down" << "\\bMonday\\b";
    QTest::newRow("Down: Tuesday")     << "key Down" << "\\bTuesday\\b";
    QTest::newRow("Tab: Compute")      << "key Tab"  << "Compute push button";
    // clang-format on
  }

  void readsEachStep() {
    QFETCH(QString, action);
    QFETCH(QString, heard);
    const QRegularExpression expected(heard);
    QVERIFY2(program_.state() == QProcess::Running, "the program has ended");
    const int from = static_cast<int>(LogLines().size()) - 1;
    QVERIFY(Xdotool(action.split(QLatin1Char(' '))));
    QVERIFY2(
        QTest::qWaitFor([&] { return expected.match(SpokenSince(from)).hasMatch(); }, 10000),
        qPrintable(QStringLiteral("Orca said \"%1\", not /%2/").arg(SpokenSince(from), heard)));
  }

  // Compute, then Tab: the report's first line. Tab waits until Orca has
  // handled the report's new text, as a user's pause lets it: a Tab sooner
  // than that has Orca take the report's caret move for its focus, and it
  // then says nothing of the focus itself.
  void readsReportAfterCompute() {
    const QString report = QStringLiteral("object:text-caret-moved [text | Report]");
    QVERIFY2(program_.state() == QProcess::Running, "the program has ended");
    int from = static_cast<int>(LogLines().size()) - 1;
    QVERIFY(Xdotool({"key", "space"}));
    QVERIFY2(QTest::qWaitFor([&] { return HandledSince(from, report); }, 10000),
             "Orca saw no new report");
    from = static_cast<int>(LogLines().size()) - 1;
    QVERIFY(Xdotool({"key", "Tab"}));
    const QString firstLine = QStringLiteral("Selected Day : Tuesday");
    QVERIFY2(QTest::qWaitFor([&] { return SpokenSince(from).contains(firstLine); }, 10000),
             qPrintable(QStringLiteral("Orca said \"%1\"").arg(SpokenSince(from))));
  }

  // A time read one character short ("05:3") anywhere while the window runs.
  void readsNoTimeShort() {
    static const QRegularExpression kShortTime(QStringLiteral("\\b\\d\\d?:\\d(?!\\d)"));
    const QString said = SpokenSince(start_);
    QVERIFY2(said.contains(QStringLiteral("Sunrise")), "Orca read nothing of the window");
    const QRegularExpressionMatch shortTime = kShortTime.match(said);
    QVERIFY2(
        !shortTime.hasMatch(),
        qPrintable(QStringLiteral("Orca read \"%1\" in \"%2\"").arg(shortTime.captured(), said)));
  }
};

int main(int argc, char* argv[]) {
  // The programs this test and its fixtures run, and the Debian packages that bring them.
  const struct {
    const char* Path;
    const char* Package;
  } kNeeds[] = {
      {"/usr/bin/Xvfb", "xvfb"},
      {"/usr/bin/dbus-daemon", "dbus-daemon"},
      {"/usr/libexec/at-spi-bus-launcher", "at-spi2-core"},
      {"/usr/bin/speech-dispatcher", "speech-dispatcher"},
      {"/usr/lib/speech-dispatcher-modules/sd_espeak-ng", "speech-dispatcher-espeak-ng"},
      {"/usr/bin/orca", "orca"},
      {"/usr/bin/xdotool", "xdotool"},
  };
  for (const auto& need : kNeeds) {
    if (!QFileInfo::exists(QString::fromLatin1(need.Path))) {
      std::printf("needs the Debian package %s\n", need.Package);
      return 77;
    }
  }
  QCoreApplication app(argc, argv);
  OrcaReadsForm1Test test;
  return QTest::qExec(&test, argc, argv);
}

#include "orca_reads_form1_test.moc"
