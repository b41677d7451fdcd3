// The entry window at start-up: its controls, tab order, button states,
// accelerators, the byte limit of the long text fields and the error report.
#include "entrykit.h"

#include "entry/borvane.h"
#include "lookup/lookupforms.h"
#include "schema/datasource.h"
#include "widgets/application.h"
#include "widgets/bytelimit.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QFontInfo>
#include <QFrame>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace entrykit;

namespace {

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

template <typename T>
T* child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

QString n2(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

bool enabled(QWidget* w, const char* name)
{
    return child<QWidget>(w, QString::fromLatin1(name))->isEnabled();
}

} // namespace

class TestEntryWindow : public QObject {
    Q_OBJECT
private slots:
    void startsIdleWithTodayAndFirstBranch();
    void controlsSitWhereTheClerkExpects();
    void tabOrderRunsThroughTheLinesThenTheBar();
    void acceleratorsOnlyForInsertCancelSaveClose();
    void longTextFieldsCountKoreanBytes();
    void engineErrorIsReportedAndTheWindowGoesOn();
    void dataSourceThatFailsAtStartIsTriedAgain_data();
    void dataSourceThatFailsAtStartIsTriedAgain();
    void lookupDialogsAreMadeOnceWhenFirstWanted();
};

void TestEntryWindow::startsIdleWithTodayAndFirstBranch()
{
    TestAccount account(QStringLiteral("sqlite"));
    // The date is written YYYY-MM-DD whatever the locale's short date looks like.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    entry::TfmBorvane w;
    QLocale::setDefault(before);

    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Centred on the screen by its outer size, frame included; a window larger
    // than the screen gets negative edges (halved towards zero).
    const QSize screen = w.screen()->geometry().size();
    const QRect outer = w.frameGeometry();
    QVERIFY2(outer != w.geometry(), "the platform gave the window no frame to measure");
    QCOMPARE(outer.top(), (screen.height() - outer.height()) / 2);
    // The offscreen platform shifts a window that starts off the screen's left
    // edge by its frame's width: across, only a window narrower than the
    // screen can be measured.
    if (outer.width() <= screen.width())
        QCOMPARE(outer.left(), (screen.width() - outer.width()) / 2);

    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
    QVERIFY(enabled(&w, "InsertBtn"));
    QVERIFY(enabled(&w, "CloseBtn"));
    QVERIFY(!enabled(&w, "CancelBtn"));
    QVERIFY(!enabled(&w, "SaveBtn"));
    QVERIFY(!enabled(&w, "DeleteBtn"));
    QVERIFY(!enabled(&w, "PrintBtn"));
    const QPalette bar = child<QWidget>(&w, "SaveBtn")->palette(); // a disabled caption greys with its glyph
    QVERIFY(bar.color(QPalette::Disabled, QPalette::ButtonText) != bar.color(QPalette::Active, QPalette::ButtonText));

    QCOMPARE(child<QLineEdit>(&w, "edDate")->text(), today());
    QCOMPARE(child<QLineEdit>(&w, "edSerial")->text(), QString());
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(child<QLineEdit>(&w, "edSerial_Bun_" + n2(n))->text(), n2(n));
        for (const char* prefix : {"edAc_JenName_", "edKubun_Name_", "edSawon_Name_", "edBuser_Name_",
                                   "edProject_Name_", "edAc_Text_", "edItem_Name", "edCr_Amt_", "edDr_Amt_"})
            QCOMPARE(child<QLineEdit>(&w, QLatin1String(prefix) + n2(n))->text(), QString());
        QVERIFY(child<QFrame>(&w, QStringLiteral("Panel%1").arg(n))->isVisible());
    }

    auto* branches = child<QComboBox>(&w, "cbKubun");
    QCOMPARE(branches->currentIndex(), 0);
    QCOMPARE(branches->currentText(), QStringLiteral("본사/서울"));
    QCOMPARE(w.branchIndex(), 0);
    QVERIFY(branches->count() >= 2);
    QCOMPARE(child<widgets::DbGrid>(&w, "DBGrid1")->model()->rowCount(), 0);
    QCOMPARE(focusName(&w), QStringLiteral("edAc_JenName_01"));

    // Insert only moves the focus, however often it is pressed.
    child<QWidget>(&w, "edDate")->setFocus();
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(child<QPushButton>(&w, "InsertBtn"), Qt::LeftButton);
        QCOMPARE(focusName(&w), QStringLiteral("edAc_JenName_01"));
        QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
        QCOMPARE(child<QLineEdit>(&w, "edSerial_Bun_01")->text(), QStringLiteral("01"));
    }
}

void TestEntryWindow::controlsSitWhereTheClerkExpects()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(w.windowTitle(), QStringLiteral("출금 전표"));
    QCOMPARE(w.size(), QSize(963, 701));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.font().pixelSize(), 13);
    QVERIFY2(QFontInfo(w.font()).family().contains(QLatin1String("Nanum")), qPrintable(QFontInfo(w.font()).family()));

    QCOMPARE(child<QLabel>(&w, "Label1")->text(), QStringLiteral("기준일자"));
    QCOMPARE(child<QLabel>(&w, "Label2")->text(), QStringLiteral("본지점구분"));
    QCOMPARE(child<QLabel>(&w, "Label3")->text(), QStringLiteral("전표번호"));
    QCOMPARE(child<QWidget>(&w, "edDate")->geometry(), QRect(16, 22, 79, 21));
    QCOMPARE(child<QLineEdit>(&w, "edDate")->maxLength(), 10);
    QCOMPARE(child<QWidget>(&w, "cbKubun")->geometry(), QRect(120, 22, 92, 21));
    QCOMPARE(child<QWidget>(&w, "edSerial")->geometry(), QRect(242, 22, 143, 21));
    QCOMPARE(child<QWidget>(&w, "Panel7")->geometry(), QRect(463, 6, 497, 39));
    QCOMPARE(child<QWidget>(&w, "Panel10")->geometry(), QRect(0, 49, 963, 652));

    const QList<std::pair<const char*, QString>> buttons = {
        {"InsertBtn", QStringLiteral("&I 등록")}, {"CancelBtn", QStringLiteral("&C 취소")},
        {"SaveBtn", QStringLiteral("&S 저장")},   {"DeleteBtn", QStringLiteral("D 삭제")},
        {"PrintBtn", QStringLiteral("P 출력")},   {"CloseBtn", QStringLiteral("&X 종료")},
    };
    for (int i = 0; i < buttons.size(); ++i) {
        auto* b = child<QPushButton>(&w, QLatin1String(buttons[i].first));
        QCOMPARE(b->text(), buttons[i].second);
        QCOMPARE(b->parentWidget()->objectName(), QStringLiteral("Panel7"));
        QCOMPARE(b->geometry(), QRect(9 + 80 * i, 7, 80, 25));
        QVERIFY(!b->icon().isNull());
    }
    // The glyphs are the style's own pictures; the desktop's settings stay in force.
    QVERIFY(QGuiApplication::desktopSettingsAware());

    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(child<QWidget>(&w, QStringLiteral("Panel%1").arg(n))->geometry(),
                 QRect(2, 2 + 75 * (n - 1), 959, 75));
        QCOMPARE(child<QWidget>(&w, "edKubun_Name_" + n2(n))->width(), n == 2 ? 220 : 221);
    }
    QCOMPARE(child<QWidget>(&w, "edAc_JenName_03")->geometry(), QRect(87, 15, 182, 20));
    QCOMPARE(child<QWidget>(&w, "edItem_Name03")->geometry(), QRect(542, 51, 167, 20));
    QCOMPARE(child<QWidget>(&w, "edCr_Amt_03")->geometry(), QRect(712, 51, 113, 21));
    QCOMPARE(child<QWidget>(&w, "edDr_Amt_03")->geometry(), QRect(836, 51, 113, 21));
    QVERIFY(child<QLineEdit>(&w, "edDr_Amt_03")->isReadOnly());
    QVERIFY(!child<QLineEdit>(&w, "edSerial_Bun_03")->isEnabled());
    QCOMPARE(child<QLabel>(&w, "Label_edAc_Text_03")->text(),
             QStringLiteral("적            요               기                  재             사              항"));

    auto* grid = child<widgets::DbGrid>(&w, "DBGrid1");
    QCOMPARE(grid->geometry(), QRect(2, 376, 959, 274));
    const QStringList titles = {QString(), QStringLiteral("기준일자"), QStringLiteral("본지점구분"),
                                QStringLiteral("차변계정과목"), QStringLiteral("차   변   금   액"),
                                QStringLiteral("적        요        기        재        사        항"),
                                QStringLiteral("대변  계정과목"), QStringLiteral("대   변   금   액")};
    const QList<int> widths = {0, 75, 75, 155, 110, 300, 90, 110};
    QCOMPARE(grid->model()->columnCount(), 8);
    QVERIFY(grid->isColumnHidden(0));
    for (int c = 1; c < 8; ++c) {
        QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        QCOMPARE(grid->columnWidth(c), widths[c]);
    }
}

void TestEntryWindow::tabOrderRunsThroughTheLinesThenTheBar()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    const QStringList line1 = {"edAc_JenName_01", "edKubun_Name_01", "edSawon_Name_01", "edBuser_Name_01",
                               "edProject_Name_01", "edAc_Text_01", "edItem_Name01", "edCr_Amt_01",
                               "edDr_Amt_01", "edAc_JenName_02"};
    QCOMPARE(focusName(&w), line1.first());
    for (int i = 1; i < line1.size(); ++i) {
        if (i == line1.size() - 1) // closing a line asks for its account code
            w.writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
        QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(&w), line1[i]);
    }

    // Backwards from the first line: past the disabled voucher number to the branch, then the date.
    // Leaving the branch with the typed line asks whether it may go: Enter says yes.
    ModalWatcher answers;
    child<QWidget>(&w, "edAc_JenName_01")->setFocus();
    QTest::keyClick(w.focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(&w), QStringLiteral("cbKubun"));
    QTest::keyClick(w.focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(&w), QStringLiteral("edDate"));

    // The rest of the chain: the grid, the bar in its own order, then the header.
    const QStringList wanted = {"DBGrid1", "Panel7", "InsertBtn", "CancelBtn", "SaveBtn", "PrintBtn",
                                "CloseBtn", "DeleteBtn", "edDate", "cbKubun", "edSerial"};
    QStringList chain;
    QWidget* at = child<QWidget>(&w, "edDr_Amt_05");
    for (int guard = 0; guard < 500 && chain.size() < wanted.size(); ++guard) {
        at = at->nextInFocusChain();
        if (wanted.contains(at->objectName()) && !chain.contains(at->objectName()))
            chain << at->objectName();
    }
    QCOMPARE(chain, wanted);
}

void TestEntryWindow::acceleratorsOnlyForInsertCancelSaveClose()
{
    TestAccount account(QStringLiteral("sqlite"));
    voucherseed::insertVoucher(account.connection(), today(), 0, today() + QStringLiteral("-00000001"),
                {{QStringLiteral("01"), QStringLiteral("81201001000"), QStringLiteral("여비교통비"), 1000}});
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QSignalSpy saves(child<QPushButton>(&w, "SaveBtn"), &QPushButton::clicked);
    QSignalSpy deletes(child<QPushButton>(&w, "DeleteBtn"), &QPushButton::clicked);
    QSignalSpy prints(child<QPushButton>(&w, "PrintBtn"), &QPushButton::clicked);
    QSignalSpy closed(&w, &entry::TfmBorvane::formClosed);

    // Idle: Save is disabled, so Alt+S does nothing.
    QTest::keyClick(w.focusWidget(), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(saves.count(), 0);

    clickGridRow(child<widgets::DbGrid>(&w, "DBGrid1"), 0);
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
    QVERIFY(enabled(&w, "DeleteBtn") && enabled(&w, "PrintBtn"));

    // From a field of the chosen line: Alt+D and Alt+P are no accelerators.
    auto* field = child<QLineEdit>(&w, "edAc_Text_01");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(field, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(deletes.count(), 0);
    QCOMPARE(prints.count(), 0);

    QTest::keyClick(field, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(saves.count(), 1);
    QCOMPARE(focusName(&w), QStringLiteral("SaveBtn")); // the correction moves the focus itself

    // The accelerator clicks without taking the focus from the field.
    field->setFocus();
    QCOMPARE(focusName(&w), QStringLiteral("edAc_Text_01"));
    QTest::keyClick(field, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
    QCOMPARE(focusName(&w), QStringLiteral("edAc_Text_01"));

    QTest::keyClick(w.focusWidget(), Qt::Key_I, Qt::AltModifier);
    QCOMPARE(focusName(&w), QStringLiteral("edAc_JenName_01"));

    QTest::keyClick(w.focusWidget(), Qt::Key_X, Qt::AltModifier);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!w.isVisible());
}

void TestEntryWindow::longTextFieldsCountKoreanBytes()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* text = child<QLineEdit>(&w, "edAc_Text_01");
    auto* item = child<QLineEdit>(&w, "edItem_Name01");
    auto* itemLimit = qobject_cast<const widgets::Cp949ByteLimit*>(item->validator());
    QVERIFY(itemLimit);
    QCOMPARE(itemLimit->maxBytes(), 400);

    text->setFocus();
    const QString full(200, QChar(0xAC00)); // 200 syllables "가": 400 bytes
    typeText(text, full);
    QCOMPARE(text->text(), full);
    typeText(text, QStringLiteral("a"));
    QCOMPARE(text->text(), full);

    // One byte left: an ASCII letter fits, a syllable does not.
    text->clear();
    const QString almost = QString(199, QChar(0xAC00)) + u'a';
    typeText(text, almost);
    typeText(text, QStringLiteral("나"));
    QCOMPARE(text->text(), almost);
    typeText(text, QStringLiteral("b"));
    QCOMPARE(text->text(), almost + u'b');

    // A paste keeps what fits.
    text->clear();
    typeText(text, QString(198, QChar(0xAC00)));
    QGuiApplication::clipboard()->setText(QStringLiteral("가나다라"));
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text->text(), QString(198, QChar(0xAC00)) + QStringLiteral("가나"));

    // Composition through the input method: the syllable being composed is
    // shown, and committed when it fits; refused when it does not.
    text->clear();
    typeText(text, QString(199, QChar(0xAC00)));
    QInputMethodEvent compose(QStringLiteral("ㅎ"), {});
    QApplication::sendEvent(text, &compose);
    QCOMPARE(text->text(), QString(199, QChar(0xAC00)));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("한"));
    QApplication::sendEvent(text, &commit);
    QCOMPARE(text->text(), QString(199, QChar(0xAC00)) + QStringLiteral("한"));
    QInputMethodEvent compose2(QStringLiteral("ㄱ"), {});
    QApplication::sendEvent(text, &compose2);
    QInputMethodEvent commit2;
    commit2.setCommitString(QStringLiteral("글"));
    QApplication::sendEvent(text, &commit2);
    QCOMPARE(text->text(), QString(199, QChar(0xAC00)) + QStringLiteral("한"));
}

void TestEntryWindow::engineErrorIsReportedAndTheWindowGoesOn()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    execSql(account.connection(), QStringLiteral("ALTER TABLE account_jen_AA RENAME TO account_jen_gone"));

    ModalWatcher watcher;
    auto* branches = child<QComboBox>(&w, "cbKubun");
    // A keystroke in the branch selector reloads the list; the statement fails.
    branches->setFocus();
    QTest::keyClick(branches, Qt::Key_X);
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
    QCOMPARE(watcher.titles.first(), QStringLiteral("출금 전표"));
    QVERIFY2(watcher.texts.first().contains(QLatin1String("account_jen_AA"), Qt::CaseInsensitive),
             qPrintable(watcher.texts.first()));
    QVERIFY(!QGuiApplication::overrideCursor());

    // Leaving the selector reloads too; that handler's error is reported the same way.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    branches->setFocus();
    QTest::keyClick(branches, Qt::Key_Tab);
    QTRY_COMPARE(watcher.texts.size(), 2);
    QVERIFY(!QGuiApplication::overrideCursor());

    // The window keeps working once the table is back.
    execSql(account.connection(), QStringLiteral("ALTER TABLE account_jen_gone RENAME TO account_jen_AA"));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(branches, Qt::Key_Backspace);
    QCOMPARE(watcher.texts.size(), 2);
    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
}

void TestEntryWindow::dataSourceThatFailsAtStartIsTriedAgain_data()
{
    QTest::addColumn<bool>("openedAhead");
    QTest::addColumn<int>("retry"); // leave the date, enter the empty branch selector, open its list
    QTest::newRow("opened by the first statement") << false << 0;
    QTest::newRow("opened ahead on a worker") << true << 0;
    QTest::newRow("empty selector entered") << false << 1;
    QTest::newRow("empty selector opened") << false << 2;
}

// The embedded file cannot be made at start-up: the window opens with the
// error reported, and the next move that needs it makes it once it can be made.
void TestEntryWindow::dataSourceThatFailsAtStartIsTriedAgain()
{
    QFETCH(bool, openedAhead);
    QFETCH(int, retry);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A plain file stands where the data folder would go.
    QFile blocker(dir.filePath(QStringLiteral("data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath(QStringLiteral("data/voucher/Account.db"));
    store::Connection::setAccount(schema::embeddedOpenedOnFirstUse(path));
    if (openedAhead)
        store::Connection::account().openAhead();

    ModalWatcher watcher;
    {
        entry::TfmBorvane w;
        QCOMPARE(watcher.texts.size(), 1);
        QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
        QVERIFY2(watcher.texts.first().contains(QStringLiteral("데이터 폴더를 만들 수 없습니다")),
                 qPrintable(watcher.texts.first()));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* branches = child<QComboBox>(&w, "cbKubun");
        QCOMPARE(branches->count(), 0);
        if (retry == 2) { // entered while the file still cannot be made: said again
            branches->setFocus();
            QTRY_COMPARE(watcher.texts.size(), 2);
        }

        QVERIFY(blocker.remove());
        auto* date = child<QLineEdit>(&w, "edDate");
        if (retry == 0)
            date->setFocus();
        if (retry < 2)
            QTest::keyClick(w.focusWidget(), retry == 0 ? Qt::Key_Tab : Qt::Key_Backtab);
        else
            QTest::mouseClick(branches, Qt::LeftButton, {}, QPoint(branches->width() - 4, 10));
        QCOMPARE(watcher.texts.size(), retry == 2 ? 2 : 1);
        QVERIFY(QFile::exists(path));
        QVERIFY(branches->count() >= 2);
        QCOMPARE(branches->currentText(), QStringLiteral("본사/서울"));
        QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
    }
    store::Connection::setAccount(nullptr);
}

ENTRY_TEST_MAIN(TestEntryWindow)
#include "test_entrywindow.moc"

void TestEntryWindow::lookupDialogsAreMadeOnceWhenFirstWanted()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    std::vector<std::unique_ptr<lookup::LookupFrame>> made;
    int makings = 0;
    w.setLookupDialogMaker([&]() -> std::array<lookup::LookupDialog*, voucher::kNameKinds> {
        ++makings;
        made.push_back(std::make_unique<lookup::TForm1>(&w));
        made.push_back(std::make_unique<lookup::TForm2>(&w));
        made.push_back(std::make_unique<lookup::TForm3>(&w));
        made.push_back(std::make_unique<lookup::TForm4>(&w));
        made.push_back(std::make_unique<lookup::TForm5>(&w));
        made.push_back(std::make_unique<lookup::TForm6>(&w));
        return {made[0].get(), made[1].get(), made[2].get(), made[3].get(), made[4].get(), made[5].get()};
    });
    QCOMPARE(makings, 0);
    // The first dialog wanted brings all six, in their order.
    QCOMPARE(w.lookupDialog(voucher::LookupKind::Employee)->objectName(), QStringLiteral("Form3"));
    QCOMPARE(makings, 1);
    QStringList names;
    for (const auto& f : made)
        names << f->objectName();
    QCOMPARE(names, QStringList({"Form1", "Form2", "Form3", "Form4", "Form5", "Form6"}));
    w.makeLookupDialogs();
    QCOMPARE(w.lookupDialog(voucher::LookupKind::Item)->objectName(), QStringLiteral("Form6"));
    QCOMPARE(makings, 1);
}
