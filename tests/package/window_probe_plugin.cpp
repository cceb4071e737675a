// A test seam that is no part of the product: a Qt plugin the package test
// loads into the unpacked imgcrypt-gui (QT_PLUGIN_PATH and
// QT_QPA_GENERIC_PLUGINS=imgcrypt_window_probe), to see from inside what the
// window shows after a start with files. Once the main window is up it
// appends to the file IMGCRYPT_PROBE_REPORT the folder box's text, types a
// password, presses Encrypt, records and answers (as Esc does: No) every box
// and dialog the run shows, and closes the window.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

class WindowProbe : public QObject {
  public:
    WindowProbe() {
        // Ticks go on inside the run's modal boxes, which is where they are
        // answered.
        connect(&timer_, &QTimer::timeout, this, &WindowProbe::Step);
        timer_.start(100);
    }

  private:
    static void Report(const QString& line) {
        QFile report(qEnvironmentVariable("IMGCRYPT_PROBE_REPORT"));
        if (report.open(QIODevice::Append)) report.write((line + u'\n').toUtf8());
    }

    static QWidget* MainWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QStringLiteral("frmMain") && widget->isVisible()) {
                return widget;
            }
        }
        return nullptr;
    }

    void Step() {
        QWidget* window = MainWindow();
        if (window == nullptr) return;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++answered_;
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                Report(QStringLiteral("box: ") + box->text().replace(u'\n', u' '));
                box->escapeButton()->click();
            } else {
                Report(QStringLiteral("dialog: ") + dialog->metaObject()->className());
                dialog->reject();
            }
            return;
        }
        if (!pressed_) {
            pressed_ = true;
            Report(QStringLiteral("folder: ") +
                   window->findChild<QLineEdit*>(QStringLiteral("edtdir"))->text());
            window->findChild<QLineEdit*>(QStringLiteral("edtEnpass"))
                ->setText(QStringLiteral("secret1"));
            // Queued: a run started inside this tick would stop the ticks
            // until it ends.
            QMetaObject::invokeMethod(window->findChild<QPushButton*>(QStringLiteral("btnenc")),
                                      &QPushButton::click, Qt::QueuedConnection);
        } else if (answered_ > 0) {
            timer_.stop();
            Report(QStringLiteral("closed"));
            window->close();
        }
    }

    QTimer timer_;
    bool pressed_ = false;
    int answered_ = 0;
};

class WindowProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "window_probe.json")

  public:
    // The application deletes what this makes when it ends.
    QObject* create(const QString&, const QString&) override { return new WindowProbe; }
};

#include "window_probe_plugin.moc"
