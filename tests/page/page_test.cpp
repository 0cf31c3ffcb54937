// The settings page on its own: binding and validation, change notifications, value
// labels, initialisation and the per-unit lists. Controls are driven directly.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SimLine.h"
#include "SimulatedDesk.h"
#include "page/CSetting.h"
#include "platform/Clock.h"

namespace kq::test {
namespace {

QLineEdit* Edit(const CSetting& page, int id) {
    return qobject_cast<QLineEdit*>(page.Control(id));
}
QComboBox* Combo(const CSetting& page, int id) {
    return qobject_cast<QComboBox*>(page.Control(id));
}
QSlider* Slider(const CSetting& page, int id) {
    return qobject_cast<QSlider*>(page.Control(id));
}
QString LabelText(const CSetting& page, int id) {
    return qobject_cast<QLabel*>(page.Control(id))->text();
}
QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

std::u16string Repeat(char16_t c, size_t n) {
    return std::u16string(n, c);
}

// Every bound field away from zero and within its limits, for the lists of a 0x82 unit.
ConfigRecord FullRecord() {
    ConfigRecord r;
    r.reference = u"KQ-REF \u00e9 53";
    r.videoStandard = 1;
    r.pictureFormat = 1;
    r.light = 10;
    r.contrast = 200;
    r.saturation = 255;
    r.videoCodec = 2;
    r.videoBitrate = 12000;
    r.audioCodec = 1;
    r.audioBitrate = 3;
    r.frequencyKHz = 474000;
    r.bandwidth = 2;
    r.transmissionMode = 1;
    r.constellation = 2;
    r.codeRate = 4;
    r.guardInterval = 3;
    r.levelAtt = 17;
    r.tsId = 65535;
    r.version = 31;
    r.networkId = 12;
    r.originalNetworkId = 13;
    r.networkName = Repeat(u'N', 32);
    r.serviceId = 1;
    r.serviceName = u"Service \"one\"";
    r.lcn = 7;
    r.lcnMode = 2;
    r.pmtPid = 32;
    r.videoPid = 8190;
    r.audioPid = 49;
    r.defaultCountry = 5;
    r.eitName = Repeat(u'e', 40);
    r.eitText = Repeat(u't', 100);
    return r;
}

class PageTest : public ::testing::Test, protected SimulatedDesk {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        settings.AppFolder = folder.path().toStdString();
    }

    // A page as the main dialog creates it, connected to a 0x82 unit with the full record.
    CSetting& Connected() {
        CSetting& p = Created();
        p.ApplyUnitLists(kModel82, 3);
        p.record = FullRecord();
        p.UpdateData(false);
        p.applyCountdown = 0;
        return p;
    }
    CSetting& Created() {
        page = std::make_unique<CSetting>(context, nullptr);
        page->InitSettingsPage();
        return *page;
    }

    QTemporaryDir folder;
    std::unique_ptr<CSetting> page;
};

TEST_F(PageTest, StartsShowingTheZeroRecord) {
    const CSetting& p = Created();
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(p.size(), p.PageSize());
    EXPECT_EQ(Edit(p, 1007)->text(), "0");
    EXPECT_EQ(Edit(p, 1036)->text(), "");
    EXPECT_EQ(Combo(p, 1025)->currentIndex(), 0);
    EXPECT_EQ(Combo(p, 1068)->currentIndex(), -1);  // no items before a unit is known
    EXPECT_EQ(p.applyCountdown, 0);
}

TEST_F(PageTest, PushThenPullGivesTheRecordBack) {
    CSetting& p = Connected();
    const ConfigRecord full = FullRecord();
    // Pushing moves the sliders; that must not pull half-pushed controls back.
    EXPECT_EQ(p.record, full);
    EXPECT_EQ(Edit(p, 1007)->text(), "474000");
    EXPECT_EQ(Combo(p, 1025)->currentText(), "320  Kb/s");
    EXPECT_EQ(Combo(p, 1068)->currentText(), "POLSKI");
    EXPECT_EQ(Slider(p, 1034)->value(), 255);

    p.record = ConfigRecord{};
    EXPECT_TRUE(p.UpdateData(true));
    EXPECT_EQ(p.record, full);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PageTest, IndexOutsideTheListClearsTheSelection) {
    CSetting& p = Connected();
    p.record.codeRate = 5;
    p.record.lcnMode = -1;
    p.UpdateData(false);
    EXPECT_EQ(Combo(p, 1013)->currentIndex(), -1);
    EXPECT_TRUE(p.UpdateData(true));
    EXPECT_EQ(p.record.codeRate, -1);
    EXPECT_EQ(p.record.lcnMode, -1);
}

TEST_F(PageTest, PullReportsTheFirstFailureAndStopsWhereTheDataExchangeStops) {
    struct Case {
        const char* name;
        std::function<void(CSetting&)> act;
        const char* message;  // empty: the pull succeeds
        std::function<void(ConfigRecord&)> expect;
    };
    const auto longRecordText = [](std::u16string ConfigRecord::*field, size_t n) {
        return [field, n](CSetting& p) {
            p.record.*field = Repeat(u'x', n);
            p.UpdateData(false);
        };
    };
    const std::vector<Case> cases = {
        {"an empty integer edit stops the pull",
         [](CSetting& p) {
             Combo(p, 1028)->setCurrentIndex(0);  // transferred before the frequency
             Edit(p, 1007)->clear();
             Edit(p, 1008)->setText("77");  // after it
             Edit(p, 1060)->setText("NEW");
         },
         "Enter an integer.", [](ConfigRecord& r) { r.videoStandard = 0; }},
        {"text that does not begin with a number",
         [](CSetting& p) {
             Edit(p, 1024)->setText("100");
             Edit(p, 1021)->setText("x12");
         },
         "Enter an integer.", [](ConfigRecord& r) { r.pmtPid = 100; }},
        {"leading blanks, sign and trailing characters",
         [](CSetting& p) {
             Edit(p, 1007)->setText(" \t500000kHz");
             Edit(p, 1008)->setText("+12 34");
             Edit(p, 1066)->setText("-0");
         },
         "",
         [](ConfigRecord& r) {
             r.frequencyKHz = 500000;
             r.tsId = 12;
             r.version = 0;
         }},
        {"a pmt pid below 32 while a video pid of 0 is accepted",
         [](CSetting& p) {
             Edit(p, 1024)->setText("7");
             Edit(p, 1020)->setText("0");
             Edit(p, 1060)->setText("NEW");  // the reference comes after the range checks
         },
         "Enter an integer between 32 and 8190.",
         [](ConfigRecord& r) {
             r.pmtPid = 7;
             r.videoPid = 0;
         }},
        {"only the first failing check is reported",
         [](CSetting& p) {
             p.record.networkName = Repeat(u'n', 33);
             p.UpdateData(false);
             Edit(p, 1024)->setText("7");
             Edit(p, 1007)->setText("46999");
         },
         "Enter an integer between 47000 and 862000.",
         [](ConfigRecord& r) {
             r.pmtPid = 7;
             r.frequencyKHz = 46999;
             r.networkName = Repeat(u'n', 33);
         }},
        {"a number too large for 32 bits",
         [](CSetting& p) { Edit(p, 1022)->setText("4294972296"); },
         "Enter an integer between 5000 and 12000.",
         [](ConfigRecord& r) { r.videoBitrate = 2147483647; }},
        {"a network name longer than its edit allows",
         longRecordText(&ConfigRecord::networkName, 40), "Enter no more than 32 characters.",
         [](ConfigRecord& r) { r.networkName = Repeat(u'x', 40); }},
        {"a reference longer than 53 is taken and reported",
         longRecordText(&ConfigRecord::reference, 54), "Enter no more than 53 characters.",
         [](ConfigRecord& r) { r.reference = Repeat(u'x', 54); }},
        {"an event text longer than 100", longRecordText(&ConfigRecord::eitText, 101),
         "Enter no more than 100 characters.",
         [](ConfigRecord& r) { r.eitText = Repeat(u'x', 101); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSetting& p = Connected();
        c.act(p);
        dialogs.messages.clear();
        ConfigRecord expected = FullRecord();
        c.expect(expected);

        const bool ok = p.UpdateData(true);

        const std::string message = c.message;
        EXPECT_EQ(ok, message.empty());
        EXPECT_EQ(dialogs.messages,
                  message.empty() ? std::vector<std::string>{} : std::vector{message});
        EXPECT_EQ(p.record, expected);
    }
}

TEST_F(PageTest, LevelAndValueLabels) {
    struct Case {
        int level;
        const char* text;
    };
    for (const Case& c : {Case{29, "0dB"}, Case{28, "-1dB"}, Case{0, "-29dB"}}) {
        SCOPED_TRACE(c.level);
        CSetting& p = Connected();
        p.record.levelAtt = c.level;
        p.record.light = 1;
        p.record.contrast = 2;
        p.record.saturation = 3;
        p.UpdateData(false);
        p.RefreshValueLabels();
        EXPECT_EQ(LabelText(p, 1044), c.text);
        EXPECT_EQ(LabelText(p, 1057), "1");
        EXPECT_EQ(LabelText(p, 1056), "2");
        EXPECT_EQ(LabelText(p, 1055), "3");
        EXPECT_EQ(p.applyCountdown, 10);
    }
}

TEST_F(PageTest, ChangesArmTheApplyCountdown) {
    struct Case {
        const char* name;
        std::function<void(CSetting&)> act;
        int countdown;
        int country;  // FullRecord's is 0
    };
    const std::vector<Case> cases = {
        {"typing in an edit", [](CSetting& p) { Key(Edit(p, 1007), Qt::Key_5, "5"); }, 3, 0},
        {"text put in by the page", [](CSetting& p) { Edit(p, 1080)->setText("news"); }, 3, 0},
        {"a combo choice", [](CSetting& p) { Key(Combo(p, 1028), Qt::Key_Up); }, 3, 0},
        {"a combo set by the page", [](CSetting& p) { Combo(p, 1028)->setCurrentIndex(0); }, 0, 0},
        {"the logos combo", [](CSetting& p) { p.SetLogoText("a.dg1"); }, 0, 0},
        {"a slider moved by key", [](CSetting& p) { Key(Slider(p, 1032), Qt::Key_Right); }, 10, 0},
        {"a slider clicked and released",
         [](CSetting& p) {
             QSlider* s = Slider(p, 1015);
             const QPoint end(s->width() - 2, s->height() / 2);
             Mouse(s, QEvent::MouseButtonPress, end);
             Mouse(s, QEvent::MouseButtonRelease, end);
         },
         3, 0},
        {"the default country", [](CSetting& p) { Key(Combo(p, 1068), Qt::Key_Up); }, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSetting& p = Connected();
        p.show();
        c.act(p);
        EXPECT_EQ(p.applyCountdown, c.countdown);
        EXPECT_EQ(p.record.country, c.country);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(PageTest, SliderScrollRefreshesItsLabel) {
    CSetting& p = Connected();
    p.show();
    Key(Slider(p, 1032), Qt::Key_Right);
    EXPECT_EQ(p.record.light, 11);
    EXPECT_EQ(LabelText(p, 1057), "11");
    Key(Slider(p, 1015), Qt::Key_Right);
    EXPECT_EQ(LabelText(p, 1044), "-11dB");
}

TEST_F(PageTest, ListsAndEnablingFollowTheUnit) {
    struct Case {
        uint8_t model;
        uint8_t hardware;
        QStringList countries, lcnModes, pictureFormats;
        bool codecs, iqList, iqButtons;
    };
    const QStringList countries82 = {"FRENCH",  "ENGLISH", "ITALIAN",
                                     "DEUTSCH", "ESPANOL", "POLSKI"};
    const QStringList countries78 = {"FRENCH",  "ENGLISH", "ITALIAN",
                                     "DEUTSCH", "POLSKI",  "ESPANOL"};
    const std::vector<Case> cases = {
        {kModel82, 3, countries82, {"EACEM", "ITC", "NORDIG"}, {"16/9", "4/3"}, true, true, false},
        {kModel82, 2, countries82, {"EACEM", "ITC", "NORDIG"}, {"16/9", "4/3"}, true, false, false},
        {kModel78, 3, countries78, {"EACEM", "ITC"}, {"4/3", "16/9"}, false, true, true},
        {kModel78, 2, countries78, {"EACEM", "ITC"}, {"4/3", "16/9"}, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int{c.model} << " hw " << int{c.hardware});
        CSetting& p = Created();
        // The lists of an earlier unit are replaced, not added to.
        p.ApplyUnitLists(c.model == kModel82 ? kModel78 : kModel82, 3);
        p.ApplyUnitLists(c.model, c.hardware);
        EXPECT_EQ(Items(Combo(p, 1068)), c.countries);
        EXPECT_EQ(Items(Combo(p, 1059)), c.lcnModes);
        EXPECT_EQ(Items(Combo(p, 1029)), c.pictureFormats);
        for (int id : {1064, 1065, 1079, 1080}) {
            EXPECT_EQ(p.Control(id)->isEnabled(), c.codecs) << id;
        }
        EXPECT_EQ(p.Control(1075)->isEnabled(), c.iqList);
        EXPECT_EQ(p.Control(1076)->isEnabled(), c.iqButtons);
        EXPECT_EQ(p.Control(1077)->isEnabled(), c.iqButtons);
    }
}

TEST_F(PageTest, LabelsFollowTheLanguageExceptTheResourceOnes) {
    struct Case {
        int language, id;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0, 1033, "Freq. (kHz) :"},   {0, 1048, "Service"},        {4, 1033, "Czest. (khz):"},
        {4, 1043, "TLum. :"},         {1, 1047, "Nom :"},          {1, 1050, "Nom :"},
        {2, 1017, "Formato video :"}, {4, 1067, "Vers. :"},        {4, 1058, "Reference :"},
        {5, 1063, "Logos :"},         {5, 1069, "Def. Country :"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        settings.LanguageIndex = c.language;
        EXPECT_EQ(LabelText(Created(), c.id), QString::fromUtf8(c.text));
    }
}

TEST_F(PageTest, ManufacturerModeShowsTheLowerFields) {
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        settings.ManufacturerMode = mode;
        const CSetting& p = Created();
        for (int id : {1058, 1060, 1069, 1068, 1070, 1075}) {
            EXPECT_EQ(p.Control(id)->isHidden(), mode == 0) << id;
        }
        for (int id : {1063, 1078, 1071, 1073, 1074, 1076, 1077}) {
            EXPECT_FALSE(p.Control(id)->isHidden()) << id;
        }
    }
}

TEST_F(PageTest, LogosComboListsTheLogoFilesSorted) {
    struct Case {
        QStringList files;
        QStringList listed;
    };
    const std::vector<Case> cases = {
        {{}, {}},  // no logos folder at all
        {{"notes.txt"}, {}},
        {{"b.dg1", "A.dg1", "c.txt", "d.DG1"}, {"A.dg1", "b.dg1", "d.DG1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.join(' ').toStdString());
        QTemporaryDir app;
        settings.AppFolder = app.path().toStdString();
        if (!c.files.isEmpty()) {
            ASSERT_TRUE(QDir(app.path()).mkdir("logos"));
        }
        for (const QString& name : c.files) {
            QFile file(app.path() + "/logos/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(Items(Combo(Created(), 1078)), c.listed);
    }
}

TEST_F(PageTest, TextEditsRefuseCharactersBeyondTheirLimit) {
    CSetting& p = Connected();
    p.show();
    QLineEdit* name = Edit(p, 1036);
    ASSERT_EQ(name->text().size(), 32);
    Key(name, Qt::Key_X, "x");
    EXPECT_EQ(name->text().size(), 32);
    Key(name, Qt::Key_Backspace);
    Key(name, Qt::Key_Y, "y");
    EXPECT_EQ(name->text(), QString(31, 'N') + "y");

    // A longer name from a decoded block is shown whole and can only be shortened.
    p.record.networkName = Repeat(u'L', 40);
    p.UpdateData(false);
    EXPECT_EQ(name->text(), QString(40, 'L'));
    Key(name, Qt::Key_Z, "z");
    EXPECT_EQ(name->text(), QString(40, 'L'));
    Key(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text(), QString(39, 'L'));
}

TEST_F(PageTest, EnterAndEscapeDoNothing) {
    QDialog dialog;
    int accepted = 0;
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, [&accepted] { ++accepted; });
    auto* p = new CSetting(context, &dialog);
    p->InitSettingsPage();
    p->ApplyUnitLists(kModel82, 3);
    QObject::connect(qobject_cast<QPushButton*>(p->Control(1071)), &QPushButton::clicked,
                     [&accepted] { ++accepted; });
    p->SetLogoText("typed.dg1");
    dialog.show();
    p->show();
    for (int id : {1007, 1036, 1028, 1078, 1032, 1071, 1075}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            SCOPED_TRACE(testing::Message() << id << " key " << key);
            Key(p->Control(id), key);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(p->isVisible());
            EXPECT_EQ(accepted, 0);
        }
    }
    EXPECT_EQ(Combo(*p, 1078)->count(), 0);  // Enter does not add the typed name
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PageTest, TabOrder) {
    const CSetting& p = Created();
    const std::vector<int> expected = {1007, 1008, 1010, 1011, 1012, 1013, 1014, 1018, 1019, 1020,
                                       1021, 1022, 1024, 1025, 1026, 1015, 1028, 1029, 1030, 1032,
                                       1034, 1035, 1036, 1060, 1061, 1066, 1068, 1070, 1071, 1073,
                                       1074, 1059, 1075, 1076, 1077, 1078, 1064, 1065, 1079, 1080};
    std::vector<int> order;
    QWidget* first = p.Control(expected.front());
    QWidget* w = first;
    do {
        bool numbered = false;
        const int id = w->objectName().toInt(&numbered);
        if (numbered && (w->focusPolicy() & Qt::TabFocus)) {
            order.push_back(id);
        }
        w = w->nextInFocusChain();
    } while (w != first && order.size() <= expected.size());
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace kq::test
