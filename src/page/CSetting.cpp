// The settings page: its controls, their binding to the record, and the change
// notifications that re-arm the apply countdown.

#include "page/CSetting.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "app/MessageTable.h"

namespace kq {
namespace {

struct Place {
    int x, y, width, height;
};

enum class Exchange { Index, Position, Integer, Text };

struct Transfer {
    int id;
    Exchange kind;
    int32_t ConfigRecord::*number;
    std::u16string ConfigRecord::*text;
};

constexpr Transfer Index(int id, int32_t ConfigRecord::*field) {
    return {id, Exchange::Index, field, nullptr};
}
constexpr Transfer Position(int id, int32_t ConfigRecord::*field) {
    return {id, Exchange::Position, field, nullptr};
}
constexpr Transfer Integer(int id, int32_t ConfigRecord::*field) {
    return {id, Exchange::Integer, field, nullptr};
}
constexpr Transfer Text(int id, std::u16string ConfigRecord::*field) {
    return {id, Exchange::Text, nullptr, field};
}

// The order matters: a failing integer leaves everything after it untouched.
constexpr std::array kTransfers = {
    Index(1065, &ConfigRecord::audioCodec),
    Index(1064, &ConfigRecord::videoCodec),
    Text(1079, &ConfigRecord::eitName),
    Text(1080, &ConfigRecord::eitText),
    Position(1032, &ConfigRecord::light),
    Position(1030, &ConfigRecord::contrast),
    Position(1034, &ConfigRecord::saturation),
    Index(1068, &ConfigRecord::defaultCountry),
    Index(1028, &ConfigRecord::videoStandard),
    Index(1029, &ConfigRecord::pictureFormat),
    Index(1010, &ConfigRecord::transmissionMode),
    Index(1059, &ConfigRecord::lcnMode),
    Index(1011, &ConfigRecord::constellation),
    Index(1012, &ConfigRecord::bandwidth),
    Index(1013, &ConfigRecord::codeRate),
    Index(1014, &ConfigRecord::guardInterval),
    Index(1025, &ConfigRecord::audioBitrate),
    Position(1015, &ConfigRecord::levelAtt),
    Integer(1007, &ConfigRecord::frequencyKHz),
    Integer(1008, &ConfigRecord::tsId),
    Integer(1066, &ConfigRecord::version),
    Integer(1061, &ConfigRecord::originalNetworkId),
    Integer(1035, &ConfigRecord::networkId),
    Text(1036, &ConfigRecord::networkName),
    Integer(1018, &ConfigRecord::serviceId),
    Text(1019, &ConfigRecord::serviceName),
    Integer(1026, &ConfigRecord::lcn),
    Integer(1024, &ConfigRecord::pmtPid),
    Integer(1020, &ConfigRecord::videoPid),
    Integer(1022, &ConfigRecord::videoBitrate),
    Integer(1021, &ConfigRecord::audioPid),
};

struct RangeCheck {
    int32_t ConfigRecord::*field;
    int32_t low, high;
};

constexpr std::array<RangeCheck, 12> kRangeChecks = {{
    {&ConfigRecord::frequencyKHz, 47000, 862000},
    {&ConfigRecord::tsId, 0, 65535},
    {&ConfigRecord::version, 0, 31},
    {&ConfigRecord::levelAtt, 0, 29},
    {&ConfigRecord::originalNetworkId, 0, 65535},
    {&ConfigRecord::networkId, 0, 65535},
    {&ConfigRecord::serviceId, 0, 65535},
    {&ConfigRecord::lcn, 0, 65535},
    {&ConfigRecord::pmtPid, 32, 8190},
    {&ConfigRecord::videoPid, 0, 8190},
    {&ConfigRecord::videoBitrate, 5000, 12000},
    {&ConfigRecord::audioPid, 32, 8190},
}};

struct LengthCheck {
    std::u16string ConfigRecord::*field;
    int limit;
};

constexpr int kReferenceId = 1060;
constexpr int kReferenceLimit = 53;
constexpr std::array<LengthCheck, 2> kNameChecks = {{
    {&ConfigRecord::networkName, 32},
    {&ConfigRecord::serviceName, 32},
}};
constexpr std::array<LengthCheck, 2> kEitChecks = {{
    {&ConfigRecord::eitName, 40},
    {&ConfigRecord::eitText, 100},
}};

struct EditDef {
    int id;
    Place place;
    int limit;  // characters; 0 for the integer edits
};

constexpr std::array<EditDef, 16> kEdits = {{
    {1022, {243, 13, 29, 12}, 0},
    {1007, {56, 108, 40, 12}, 0},
    {1008, {103, 108, 32, 12}, 0},
    {1066, {57, 155, 19, 12}, 0},
    {1061, {88, 155, 30, 12}, 0},
    {1035, {136, 155, 30, 12}, 0},
    {1036, {172, 155, 84, 12}, 32},
    {1018, {56, 182, 30, 12}, 0},
    {1019, {92, 182, 84, 12}, 32},
    {1026, {182, 182, 30, 12}, 0},
    {1024, {92, 197, 29, 12}, 0},
    {1020, {169, 197, 29, 12}, 0},
    {1021, {250, 197, 29, 12}, 0},
    {1079, {92, 217, 84, 12}, 40},
    {1080, {92, 232, 248, 12}, 100},
    {kReferenceId, {10, 274, 48, 12}, kReferenceLimit},
}};

struct ComboDef {
    int id;
    Place place;        // the height includes the drop-down list
    const char* items;  // separated by '|'
};

// 1029, 1059 and 1068 are refilled for each unit.
constexpr std::array<ComboDef, 12> kCombos = {{
    {1028, {58, 13, 48, 50}, "PAL|NTSC"},
    {1029, {112, 13, 48, 50}, "4/3|16/9"},
    {1064, {171, 12, 69, 50}, "H264|MPEG2-SD|MPEG2"},
    {1065, {53, 77, 69, 50}, "AAC-LC|MPEG1-L2"},
    {1025, {125, 77, 57, 66}, "128 Kb/s|192 Kb/s|256 Kb/s|320  Kb/s|384  Kb/s"},
    {1010, {139, 108, 30, 66}, "2K|8K"},
    {1011, {173, 108, 50, 66}, "QPSK|16-QAM|64-QAM"},
    {1012, {227, 108, 42, 66}, "6 Mhz|7 Mhz|8 Mhz"},
    {1013, {271, 108, 30, 66}, "1/2|2/3|3/4|5/6|7/8"},
    {1014, {305, 108, 36, 66}, "1/32|1/16|1/8|1/4"},
    {1059, {215, 182, 64, 39}, ""},
    {1068, {168, 275, 49, 50}, ""},
}};
constexpr int kDefaultCountryId = 1068;
constexpr int kLogosId = 1078;
constexpr Place kLogosPlace = {68, 274, 94, 30};
constexpr int kComboFieldHeight = 13;
constexpr int kListItemHeight = 8;

struct SliderDef {
    int id;
    Place place;
    int maximum, tick;
};

constexpr std::array<SliderDef, 4> kSliders = {{
    {1032, {131, 31, 105, 12}, 255, 16},
    {1030, {131, 43, 105, 12}, 255, 16},
    {1034, {131, 56, 105, 12}, 255, 16},
    {1015, {127, 127, 105, 13}, 29, 5},
}};

struct LabelDef {
    int id;
    Place place;
    const char* text;
    int row;  // message table row, -1 to keep the text
    bool right;
};

constexpr std::array<LabelDef, 32> kLabels = {{
    {1016, {58, 3, 36, 8}, "Standard :", 8, false},
    {1017, {112, 3, 55, 8}, "Pict. Format :", 9, false},
    {1023, {60, 34, 43, 8}, "Light :", 10, false},
    {1027, {60, 46, 43, 8}, "Contrast :", 11, false},
    {1031, {60, 58, 43, 8}, "Saturation :", 12, false},
    {1033, {56, 97, 48, 8}, "Freq. (MHz) :", 13, false},
    {1037, {103, 97, 36, 8}, "TS Id. :", 14, false},
    {1038, {139, 97, 26, 8}, "Mode :", 15, false},
    {1039, {173, 97, 36, 8}, "Const. :", 16, false},
    {1040, {227, 97, 42, 8}, "Bandwidth :", 17, false},
    {1041, {271, 97, 30, 8}, "F.E.C. :", 18, false},
    {1042, {305, 97, 42, 8}, "Guard Int. :", 19, false},
    {1043, {58, 129, 43, 8}, "Level Att. :", 20, false},
    {1045, {12, 146, 78, 8}, "Network", 21, false},
    {1062, {88, 146, 42, 8}, "Original Id. :", 22, false},
    {1046, {136, 146, 18, 8}, "Id. :", 23, false},
    {1047, {172, 146, 30, 8}, "Name :", 24, false},
    {1048, {12, 173, 41, 8}, "Program", 25, false},
    {1049, {56, 173, 18, 8}, "Id. :", 23, false},
    {1050, {92, 173, 30, 8}, "Name :", 24, false},
    {1051, {182, 173, 30, 8}, "L.C.N. :", 26, false},
    {1052, {58, 199, 31, 8}, "PMT PID :", 27, false},
    {1053, {128, 199, 39, 8}, "VIDEO PID :", 28, false},
    {1054, {207, 199, 40, 8}, "AUDIO PID :", 29, false},
    {1067, {57, 146, 26, 8}, "Vers. :", -1, false},
    {1044, {236, 129, 19, 8}, "dB", -1, true},
    {1057, {237, 31, 19, 8}, "128", -1, true},
    {1056, {237, 44, 19, 8}, "128", -1, true},
    {1055, {237, 57, 19, 8}, "128", -1, true},
    {1058, {12, 264, 46, 8}, "Reference :", -1, false},
    {1063, {68, 265, 27, 8}, "Logos :", -1, false},
    {1069, {169, 264, 49, 8}, "Def. Country :", -1, false},
}};
constexpr int kLevelLabelId = 1044;
constexpr int kLightLabelId = 1057, kContrastLabelId = 1056, kSaturationLabelId = 1055;

struct ButtonDef {
    int id;
    Place place;
    const char* text;
};

constexpr std::array<ButtonDef, 6> kButtons = {{
    {1070, {225, 265, 113, 48}, "Firm. Reload"},
    {1074, {10, 291, 30, 22}, "SAVE"},
    {1073, {44, 291, 30, 22}, "LOAD"},
    {1071, {78, 291, 140, 22}, "Set as Def. Param"},
    {1076, {278, 316, 59, 29}, "<- FROM FILE"},
    {1077, {278, 349, 59, 38}, "-> TO FILE"},
}};

constexpr int kUpperFrameId = 1072;
constexpr int kIqListId = 1075;
constexpr Place kIqListPlace = {12, 317, 260, 69};

struct Caption {
    int x, y;
    const char* text;
};

constexpr std::array<Caption, 7> kCaptions = {{
    {11, 3, "VIDEO"},
    {276, 15, "Kb/s"},
    {11, 76, "AUDIO"},
    {12, 97, "DVB-T"},
    {12, 217, "E.I.T."},
    {56, 217, "Name : "},
    {56, 233, "Text :"},
}};

struct Line {
    int x, y, length;
};

constexpr std::array<Line, 5> kEtchedLines = {{
    {12, 72, 330},
    {12, 94, 330},
    {56, 144, 285},
    {56, 171, 285},
    {55, 213, 285},
}};

constexpr std::array<Place, 2> kGreyFrames = {{
    {0, 255, 349, 136},
    {76, 291, 4, 1},
}};

constexpr int kBitmapWidth = 14, kBitmapHeight = 7;
constexpr std::array<std::pair<int, int>, 4> kSliderBitmaps = {{
    {114, 34},
    {114, 46},
    {114, 58},
    {110, 129},
}};

constexpr std::array kTabOrder = {1007, 1008, 1010, 1011, 1012, 1013, 1014, 1018, 1019, 1020,
                                  1021, 1022, 1024, 1025, 1026, 1015, 1028, 1029, 1030, 1032,
                                  1034, 1035, 1036, 1060, 1061, 1066, 1068, 1070, 1071, 1073,
                                  1074, 1059, 1075, 1076, 1077, 1078, 1064, 1065, 1079, 1080};

// Shown only in manufacturer mode.
constexpr std::array kManufacturerControls = {1058, kReferenceId, 1069, kDefaultCountryId,
                                              1070, kIqListId};

// "%d": blanks first, an optional sign, at least one digit; whatever follows is ignored.
// Numbers beyond 32 bits saturate, so they fail any range check.
std::optional<int32_t> ScanInteger(const QString& text) {
    const auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size() || !isDigit(text[i])) {
        return std::nullopt;
    }
    constexpr int64_t kCap = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = std::min(kCap, magnitude * 10 + (text[i].unicode() - u'0'));
    }
    const int64_t value = negative ? -magnitude : std::min(magnitude, kCap - 1);
    return static_cast<int32_t>(value);
}

// The platform's edit limit: typing cannot make a text longer than the limit, while a
// longer text that the page itself puts in stays whole and can still be shortened.
class TextLimit final : public QValidator {
  public:
    TextLimit(QLineEdit* edit, int limit, const bool& pushing)
        : QValidator(edit), limit_(limit), pushing_(pushing) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = text.size(); });
    }

    State validate(QString& input, int& /*pos*/) const override {
        const bool fits = input.size() <= limit_ || input.size() < shown_;
        return (pushing_ || fits) ? Acceptable : Invalid;
    }

  private:
    qsizetype limit_;
    const bool& pushing_;
    qsizetype shown_ = 0;
};

// Resource 132: a wedge that rises to the right, the direction of more.
QPixmap SliderPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 64));
    const qreal w = size.width(), h = size.height();
    painter.drawPolygon(QPolygonF({QPointF(0, h), QPointF(w, 0), QPointF(w, h)}));
    return picture;
}

template <class T>
T* Get(const CSetting& page, int id) {
    return qobject_cast<T*>(page.Control(id));
}

}  // namespace

CSetting::CSetting(PageContext& context, QWidget* parent)
    : QWidget(parent), context_(context), units_(DialogFont()) {
    setFont(DialogFont());
    BuildControls();
    ConnectNotifications();
    resize(PageSize());
    timer0_.setSingleShot(true);
    connect(&timer0_, &QTimer::timeout, this, &CSetting::OnTimer);
    setVisible(false);
    // The window starts out showing the zero record; that push is not an edit.
    UpdateData(false);
    applyCountdown = 0;
}

QSize CSetting::PageSize() const {
    return units_.Rect(0, 0, kTemplateWidth, kTemplateHeight).size();
}

QSize CSetting::UpperAreaSize() const {
    return units_.Rect(0, 0, kUpperWidth, kUpperHeight).size();
}

QWidget* CSetting::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.data();
}

void CSetting::Register(int id, QWidget* widget, QRect units) {
    widget->setObjectName(QString::number(id));
    widget->setGeometry(units_.Rect(units.x(), units.y(), units.width(), units.height()));
    controls_[id] = widget;
}

void CSetting::BuildControls() {
    // Decoration first, so that it lies beneath the controls.
    auto* upper = new QFrame(this);
    Register(kUpperFrameId, upper, {0, 0, kUpperWidth, kUpperHeight});
    upper->setVisible(false);

    for (const Place& p : kGreyFrames) {
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette grey = frame->palette();
        grey.setColor(QPalette::WindowText, grey.color(QPalette::Dark));
        frame->setPalette(grey);
        frame->setGeometry(units_.Rect(p.x, p.y, p.width, p.height));
    }
    for (const Line& l : kEtchedLines) {
        auto* line = new QFrame(this);
        line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        line->setGeometry(units_.X(l.x), units_.Y(l.y), units_.X(l.length), 2);
    }
    const QRect bitmapSize = units_.Rect(0, 0, kBitmapWidth, kBitmapHeight);
    const QPixmap picture = SliderPicture(bitmapSize.size());
    for (const auto& [x, y] : kSliderBitmaps) {
        auto* bitmap = new QLabel(this);
        bitmap->setPixmap(picture);
        bitmap->setGeometry(units_.Rect(x, y, kBitmapWidth, kBitmapHeight));
    }
    for (const Caption& c : kCaptions) {
        auto* caption = new QLabel(QString::fromUtf8(c.text), this);
        caption->move(units_.X(c.x), units_.Y(c.y));
        caption->adjustSize();
    }
    for (const LabelDef& l : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(l.text), this);
        label->setAlignment((l.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        Register(l.id, label, {l.place.x, l.place.y, l.place.width, l.place.height});
    }

    for (const EditDef& e : kEdits) {
        auto* edit = new QLineEdit(this);
        if (e.limit != 0) {
            edit->setValidator(new TextLimit(edit, e.limit, pushing_));
        }
        Register(e.id, edit, {e.place.x, e.place.y, e.place.width, e.place.height});
    }
    const auto placeCombo = [this](QComboBox* combo, int id, const Place& p) {
        Register(id, combo, {p.x, p.y, p.width, kComboFieldHeight});
        // The template's height includes the list; show as many items as it has room for.
        combo->setMaxVisibleItems(std::max(1, (p.height - kComboFieldHeight) / kListItemHeight));
    };
    for (const ComboDef& c : kCombos) {
        auto* combo = new QComboBox(this);
        combo->addItems(QString::fromUtf8(c.items).split(u'|', Qt::SkipEmptyParts));
        placeCombo(combo, c.id, c.place);
    }
    auto* logos = new QComboBox(this);
    logos->setEditable(true);
    logos->setInsertPolicy(QComboBox::NoInsert);  // Enter must not add the typed name
    placeCombo(logos, kLogosId, kLogosPlace);

    for (const SliderDef& s : kSliders) {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->installEventFilter(this);
        Register(s.id, slider, {s.place.x, s.place.y, s.place.width, s.place.height});
    }

    for (const ButtonDef& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setAutoDefault(false);  // Enter on the page does nothing
        Register(b.id, button, {b.place.x, b.place.y, b.place.width, b.place.height});
    }

    // The IQ calibration table gets its columns with its own feature.
    auto* iqList = new QTreeWidget(this);
    iqList->setRootIsDecorated(false);
    iqList->setHeaderHidden(true);
    Register(kIqListId, iqList,
             {kIqListPlace.x, kIqListPlace.y, kIqListPlace.width, kIqListPlace.height});

    for (size_t i = 1; i < kTabOrder.size(); ++i) {
        setTabOrder(Control(kTabOrder[i - 1]), Control(kTabOrder[i]));
    }
}

void CSetting::ConnectNotifications() {
    for (const EditDef& e : kEdits) {
        // Text the page puts in counts as a change too; the decoder clears the countdown.
        connect(Get<QLineEdit>(*this, e.id), &QLineEdit::textChanged, this,
                [this] { applyCountdown = 3; });
    }
    for (const ComboDef& c : kCombos) {
        if (c.id == kDefaultCountryId) {
            connect(Get<QComboBox>(*this, c.id), &QComboBox::activated, this,
                    &CSetting::OnDefaultCountry);
        } else {
            connect(Get<QComboBox>(*this, c.id), &QComboBox::activated, this,
                    [this] { applyCountdown = 3; });
        }
    }
    for (const SliderDef& s : kSliders) {
        connect(Get<QSlider>(*this, s.id), &QSlider::valueChanged, this, [this] {
            if (!pushing_) {
                RefreshValueLabels();
            }
        });
    }
}

void CSetting::OnDefaultCountry() {
    UpdateData(true);
    record.country = record.defaultCountry;
    applyCountdown = 3;
}

bool CSetting::eventFilter(QObject* watched, QEvent* event) {
    // Also after a click on the groove, which moves the slider without a handle drag.
    if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QSlider*>(watched)) {
        applyCountdown = 3;
    }
    return QWidget::eventFilter(watched, event);
}

void CSetting::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // The page has no default action and nothing to close; the dialog that holds
            // it must not see these either.
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CSetting::InitSettingsPage() {
    {
        // Setting a range may move a slider; that is not the user's scroll.
        const bool wasPushing = std::exchange(pushing_, true);
        for (const SliderDef& s : kSliders) {
            auto* slider = Get<QSlider>(*this, s.id);
            slider->setRange(0, s.maximum);
            slider->setPageStep(s.maximum / 5);
            slider->setTickInterval(s.tick);
        }
        pushing_ = wasPushing;
    }

    for (const LabelDef& l : kLabels) {
        if (l.row >= 0) {
            Get<QLabel>(*this, l.id)
                ->setText(
                    QString::fromStdString(GetMessageText(l.row, context_.settings.LanguageIndex)));
        }
    }

    const bool manufacturer = context_.settings.ManufacturerMode != 0;
    for (const int id : kManufacturerControls) {
        Control(id)->setVisible(manufacturer);
    }

    const QDir logosFolder(context_.settings.AppFolder / "logos");
    const QStringList logos =
        logosFolder.entryList({QStringLiteral("*.dg1")},
                              QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                              QDir::Name | QDir::IgnoreCase);
    Get<QComboBox>(*this, kLogosId)->addItems(logos);
}

void CSetting::ApplyUnitLists(uint8_t modelCode, uint8_t hardwareVersion) {
    const bool iq = hardwareVersion >= 3;
    for (const int id : {kIqListId, 1076, 1077}) {
        Control(id)->setEnabled(iq);
    }

    const auto refill = [this](int id, const QStringList& items) {
        auto* combo = Get<QComboBox>(*this, id);
        combo->clear();
        combo->addItems(items);
    };
    QStringList countries = {"FRENCH", "ENGLISH", "ITALIAN", "DEUTSCH"};
    countries << (modelCode == kModel78 ? QStringList{"POLSKI", "ESPANOL"}
                                        : QStringList{"ESPANOL", "POLSKI"});
    refill(kDefaultCountryId, countries);
    QStringList lcnModes = {"EACEM", "ITC"};
    if (modelCode == kModel82) {
        lcnModes << "NORDIG";
    }
    refill(1059, lcnModes);
    refill(1029, modelCode == kModel82 ? QStringList{"16/9", "4/3"} : QStringList{"4/3", "16/9"});

    for (const int id : {1064, 1065, 1079, 1080}) {
        Control(id)->setEnabled(modelCode == kModel82);
    }
    for (const int id : {1076, 1077}) {
        Control(id)->setEnabled(modelCode == kModel78);
    }
}

QString CSetting::LogoText() const {
    return Get<QComboBox>(*this, kLogosId)->currentText();
}

void CSetting::SetLogoText(const QString& text) {
    Get<QComboBox>(*this, kLogosId)->setEditText(text);
}

bool CSetting::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        return Pull();
    }
    Push();
    return true;
}

bool CSetting::Fail(const QString& message) {
    context_.dialogs.ShowMessage(message.toStdString());
    return false;
}

bool CSetting::Pull() {
    for (const Transfer& t : kTransfers) {
        switch (t.kind) {
            case Exchange::Index:
                record.*t.number = Get<QComboBox>(*this, t.id)->currentIndex();
                break;
            case Exchange::Position:
                record.*t.number = Get<QSlider>(*this, t.id)->value();
                break;
            case Exchange::Integer: {
                const std::optional<int32_t> value =
                    ScanInteger(Get<QLineEdit>(*this, t.id)->text());
                if (!value) {
                    return Fail(QStringLiteral("Enter an integer."));
                }
                record.*t.number = *value;
                break;
            }
            case Exchange::Text:
                record.*t.text = Get<QLineEdit>(*this, t.id)->text().toStdU16String();
                break;
        }
    }
    for (const RangeCheck& r : kRangeChecks) {
        const int32_t value = record.*r.field;
        if (value < r.low || value > r.high) {
            return Fail(
                QStringLiteral("Enter an integer between %1 and %2.").arg(r.low).arg(r.high));
        }
    }
    const auto tooLong = [this](const LengthCheck& l) {
        return std::ssize(record.*l.field) > l.limit;
    };
    const auto lengthFailure = [this](int limit) {
        return Fail(QStringLiteral("Enter no more than %1 characters.").arg(limit));
    };
    for (const LengthCheck& l : kNameChecks) {
        if (tooLong(l)) {
            return lengthFailure(l.limit);
        }
    }
    record.reference = Get<QLineEdit>(*this, kReferenceId)->text().toStdU16String();
    if (tooLong({&ConfigRecord::reference, kReferenceLimit})) {
        return lengthFailure(kReferenceLimit);
    }
    for (const LengthCheck& l : kEitChecks) {
        if (tooLong(l)) {
            return lengthFailure(l.limit);
        }
    }
    return true;
}

void CSetting::Push() {
    const bool wasPushing = std::exchange(pushing_, true);
    for (const Transfer& t : kTransfers) {
        switch (t.kind) {
            case Exchange::Index:
                // An index outside the list leaves nothing selected.
                Get<QComboBox>(*this, t.id)->setCurrentIndex(record.*t.number);
                break;
            case Exchange::Position:
                Get<QSlider>(*this, t.id)->setValue(record.*t.number);
                break;
            case Exchange::Integer:
                Get<QLineEdit>(*this, t.id)->setText(QString::number(record.*t.number));
                break;
            case Exchange::Text:
                Get<QLineEdit>(*this, t.id)->setText(QString::fromStdU16String(record.*t.text));
                break;
        }
    }
    Get<QLineEdit>(*this, kReferenceId)->setText(QString::fromStdU16String(record.reference));
    pushing_ = wasPushing;
}

void CSetting::RefreshValueLabels() {
    UpdateData(true);  // a failure is reported and the labels show what the record holds
    const int32_t level = record.levelAtt;
    Get<QLabel>(*this, kLevelLabelId)
        ->setText(level == 29 ? QStringLiteral("%1dB").arg(29 - level)
                              : QStringLiteral("-%1dB").arg(29 - level));
    Get<QLabel>(*this, kLightLabelId)->setText(QString::number(record.light));
    Get<QLabel>(*this, kContrastLabelId)->setText(QString::number(record.contrast));
    Get<QLabel>(*this, kSaturationLabelId)->setText(QString::number(record.saturation));
    applyCountdown = 10;
}

}  // namespace kq
