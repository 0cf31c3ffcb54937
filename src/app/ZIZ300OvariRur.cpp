#include "app/ZIZ300OvariRur.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/CKQ300IfaceDlg.h"
#include "app/QtDialogs.h"
#include "link/TraceFile.h"
#include "platform/SystemPorts.h"

namespace kq {
namespace {

// Icon 127: the program's own picture.
QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(30, 80, 150));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(1, 1, 30, 30, 6, 6);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(pixmap.rect(), Qt::AlignCenter, "KQ");
    return QIcon(pixmap);
}

// With KQIFACE_SCREENSHOT=<file>, the window is saved to that PNG once a unit has been
// connected for a moment (or after 15 s without one), and the program ends: the way to
// see the tool on a machine without a screen.
void ArmScreenshot(CKQ300IfaceDlg& dialog, const QString& file) {
    constexpr int kStepMs = 100, kSettleMs = 1500, kGiveUpMs = 15000;
    auto* poll = new QTimer(&dialog);
    auto waited = std::make_shared<int>(0);
    auto connectedFor = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog, poll, waited, connectedFor, file] {
        *waited += kStepMs;
        *connectedFor = dialog.Connected() ? *connectedFor + kStepMs : 0;
        if (*connectedFor < kSettleMs && *waited < kGiveUpMs) {
            return;
        }
        poll->stop();
        const bool saved = dialog.grab().save(file, "PNG");
        std::printf("kqiface: %s %s (%s)\n", saved ? "screenshot saved to" : "could not save",
                    qPrintable(file), qPrintable(dialog.windowTitle()));
        std::fflush(stdout);
        QApplication::exit(saved ? 0 : 1);
    });
    poll->start(kStepMs);
}

}  // namespace

AppSettings ZIZ300OvariRur::StartSettings() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        folder = ".";
    }
    return LoadAppSettings(folder);
}

int ZIZ300OvariRur::InitInstance(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("KQIface");
    const AppSettings settings = StartSettings();

    auto opener = MakeSystemPortOpener();
    CXmit link(*opener, SystemClock());
    InstallTraceFromEnvironment(link);
    QtDialogs dialogs;
    UpgradeRequest upgrade;

    CKQ300IfaceDlg dialog({link, SystemClock(), SystemBeeper(), dialogs, settings, upgrade});
    dialogs.SetParent(&dialog);
    dialog.setWindowIcon(ProgramIcon());
    dialog.OnInitDialog();
    if (const QByteArray shot = qgetenv("KQIFACE_SCREENSHOT"); !shot.isEmpty()) {
        ArmScreenshot(dialog, QString::fromLocal8Bit(shot));
    }
    dialog.show();
    return app.exec();
}

}  // namespace kq
