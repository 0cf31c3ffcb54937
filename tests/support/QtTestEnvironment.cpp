// One QApplication on Qt's offscreen platform for a whole GUI test program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            QDir runtime(QDir::temp().filePath("kqiface-test-runtime"));
            runtime.mkpath(".");
            QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        }
        static int argc = 1;
        static char name[] = "kqiface-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
