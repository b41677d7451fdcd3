// The print button's flow: the preview is modal, shows the one-page voucher
// with the print form current, saves a PDF from its tool bar, and returns
// when closed.
#include "pdftext.h"
#include "print/printflow.h"
#include "print/printpreview.h"
#include "print/qrborvane.h"
#include "testdb.h"
#include "voucherseed.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QScreen>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class PrintPreviewTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void previewShowsTheVoucherAndSavesPdf()
    {
        QVERIFY(m_dir.isValid());
        store::Connection::setAccount(testdb::sqlite(m_dir));
        voucherseed::insertVoucher(store::Connection::account(), QStringLiteral("2024-03-15"), 0,
                                   QStringLiteral("2024-03-15-00000003"),
                                   {voucherseed::sampleLine(1, 12000), voucherseed::sampleLine(2, 3000)});
        const print::PrintRequest request{QStringLiteral("2024-03-15"), 0, QStringLiteral("본사/서울"),
                                   QStringLiteral("2024-03-15-00000003")};
        const QString chosenName = QDir(m_dir.path()).filePath(QStringLiteral("saved-voucher")); // no suffix typed

        int stage = 0;
        int pages = -1;
        bool landscape = false;
        int copies = -1;
        QString currentCaption;
        QRect previewArea;
        QRect screenArea;
        QRectF pageShown;
        QRect viewport;
        QTimer driver;
        driver.setInterval(50);
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (stage == 0) {
                auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
                if (!preview)
                    return;
                // Measured in its normal state, as where no window manager maximises it.
                if (preview->windowState() & Qt::WindowMaximized) {
                    preview->showNormal();
                    return;
                }
                pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
                landscape = preview->printer()->pageLayout().orientation() == QPageLayout::Landscape;
                copies = preview->printer()->copyCount();
                currentCaption = print::fmQrBorvane ? print::fmQrBorvane->element<report::Label>("qlJen")->caption() : QString();
                previewArea = preview->frameGeometry();
                screenArea = preview->screen()->availableGeometry();
                // The page as the clerk sees it, against the part of the preview that shows it.
                auto* view = preview->findChild<QPrintPreviewWidget*>()->findChild<QGraphicsView*>();
                pageShown = view->mapFromScene(view->scene()->itemsBoundingRect()).boundingRect();
                viewport = view->viewport()->rect();
                auto* save = preview->findChild<QAction*>(QString::fromLatin1(print::kSavePdfActionName));
                if (!save) {
                    preview->reject();
                    stage = 3;
                    return;
                }
                stage = 1;
                QMetaObject::invokeMethod(save, &QAction::trigger, Qt::QueuedConnection);
            } else if (stage == 1) {
                auto* files = qobject_cast<QFileDialog*>(modal);
                if (!files)
                    return;
                // Type a name over the suggested one, as the clerk would.
                auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (!name)
                    return;
                files->setDirectory(m_dir.path());
                name->setText(QFileInfo(chosenName).fileName());
                QMetaObject::invokeMethod(files, "accept");
                stage = 2;
            } else if (stage == 2) {
                if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
                    preview->reject();
                    stage = 3;
                }
            }
        });
        driver.start();
        QVERIFY(print::showVoucherPrint(request, nullptr));
        driver.stop();

        QCOMPARE(stage, 3);
        QCOMPARE(pages, 1);
        QVERIFY(landscape);
        QCOMPARE(copies, 1);
        QCOMPARE(currentCaption, QStringLiteral("전표번호 :2024-03-15-00000003"));
        // The preview takes the screen's available area and shows the whole page, fitted to it.
        QCOMPARE(previewArea, screenArea);
        QVERIFY2(viewport.contains(pageShown.toAlignedRect().adjusted(1, 1, -1, -1)),
                 qPrintable(QStringLiteral("page %1x%2 in %3x%4").arg(pageShown.width()).arg(pageShown.height())
                                .arg(viewport.width()).arg(viewport.height())));
        QVERIFY2(pageShown.width() > 0.9 * viewport.width() || pageShown.height() > 0.9 * viewport.height(),
                 qPrintable(QStringLiteral("page %1x%2 in %3x%4").arg(pageShown.width()).arg(pageShown.height())
                                .arg(viewport.width()).arg(viewport.height())));
        QVERIFY(print::fmQrBorvane == nullptr); // released with its preview

        const QString saved = chosenName + QStringLiteral(".pdf");
        QVERIFY(QFile::exists(saved));
        if (pdftext::available()) {
            const QString text = pdftext::compactText(saved);
            QVERIFY(text.contains(QStringLiteral("출금전표")));
            QVERIFY(text.contains(QStringLiteral("15,000")));
        }
        store::Connection::setAccount(nullptr);
    }
};

QTEST_MAIN(PrintPreviewTest)
#include "test_printpreview.moc"
