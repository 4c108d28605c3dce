#include "two_port_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "branch_data.h"
#include "control_id.h"
#include "element_interface.h"
#include "two_port_rules.h"
#include "windows_1250.h"

namespace BD = BranchData;

namespace {

enum TwoPortFlag : int { kFromFlag = 1, kToFlag = 2, kLoadFactorFlag = 3 };
constexpr int kAsPercentageFlag = 2;

QString Fixed3(double value) { return QString::asprintf("%.3f", value); }

QRadioButton* NewRadio(const char* text, int id, QWidget* parent) {
    auto* radio = new QRadioButton(QString::fromLatin1(text), parent);
    SetControlId(*radio, id);
    return radio;
}

QCheckBox* NewCheck(const char* text, int id, QWidget* parent) {
    auto* check = new QCheckBox(QString::fromLatin1(text), parent);
    SetControlId(*check, id);
    return check;
}

}  // namespace

TwoPortDialog::TwoPortDialog(IElement& element, PromptService& prompts, QWidget* parent, const Texts& texts)
    : ElementDialog(element, prompts, parent),
      showFromCheck_(NewCheck(texts.showFromText, kShowFromId, this)),
      showToCheck_(NewCheck(texts.showToText, kShowToId, this)),
      showLoadFactorCheck_(NewCheck(texts.loadFactorCheckText, kShowLoadFactorId, this)),
      ownRows_(new QGridLayout),
      checkRows_(new QGridLayout) {
    QGridLayout* data = ownRows_;
    setWindowTitle(QString::fromLatin1(texts.title));
    const char* unit = texts.perKm ? "/km" : "";
    auto label = [unit](const char* what) {
        return QString::asprintf(what, unit).toLatin1();
    };

    fromName_ = AddReadOnlyField(*data, 0, 0, "From:", kFromNameId);
    toName_ = AddReadOnlyField(*data, 1, 0, "To:", kToNameId);
    fromKv_ = AddReadOnlyField(*data, 2, 0, texts.fromKvLabel, kFromKvId);
    toKv_ = AddReadOnlyField(*data, 3, 0, texts.toKvLabel, kToKvId);
    resistanceField_ = AddField(*data, 4, 0, label("Serial R%s of PI equivalent [p.u.]:").constData(), kResistanceId);
    reactanceField_ = AddField(*data, 5, 0, label("Serial X%s of PI equivalent [p.u.]:").constData(), kReactanceId);
    conductanceField_ = AddField(*data, 6, 0, label("Shunt G%s of PI equivalent [p.u.]:").constData(), kConductanceId);
    susceptanceField_ = AddField(*data, 7, 0, label("Shunt B%s of PI equivalent [p.u.]:").constData(), kSusceptanceId);
    ratingField_ = AddField(*data, 8, 0, texts.ratingLabel, kRatingId);
    notificationField_ = AddField(*data, 9, 0, "Notification:", kNotificationId);

    auto* metered = new QGroupBox(QString::fromLatin1(texts.meteredCaption), this);
    auto* meteredRow = new QHBoxLayout(metered);
    meteredRadios_ = {NewRadio("From", kMeteredFromId, metered), NewRadio("To", kMeteredToId, metered)};
    for (QRadioButton* radio : meteredRadios_) meteredRow->addWidget(radio);

    auto* results = new QGridLayout;
    const std::array<std::pair<const char*, int>, 6> flows = {{
        {"P 'from' - 'to' [MW]: ", kPFromId},
        {"Q 'from' - 'to'  [MVAr]: ", kQFromId},
        {"P 'to' - 'from'  [MW]: ", kPToId},
        {"Q 'to' - 'from' [MVAr]: ", kQToId},
        {"P loss [MW]: ", kPLossId},
        {"Q loss [MVAr]: ", kQLossId},
    }};
    for (std::size_t i = 0; i < flows.size(); ++i) {
        flowFields_[i] = AddReadOnlyField(*results, static_cast<int>(i), 0, flows[i].first, flows[i].second);
    }
    loadFactor_ = AddReadOnlyField(*results, 6, 0, "Load factor [%]:", texts.loadFactorId);

    auto* styleBox = new QWidget(this);
    auto* styleRow = new QHBoxLayout(styleBox);
    styleRow->setContentsMargins(0, 0, 0, 0);
    loadFactorRadios_ = {NewRadio("As percentage", kAsPercentageId, styleBox),
                         NewRadio("As power loss", kAsPowerLossId, styleBox)};
    for (QRadioButton* radio : loadFactorRadios_) styleRow->addWidget(radio);
    checkRows_->addWidget(showFromCheck_, 0, 0);
    checkRows_->addWidget(showToCheck_, 1, 0);
    checkRows_->addWidget(showLoadFactorCheck_, 2, 0);
    checkRows_->addWidget(styleBox, 2, 1);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(data);
    left->addWidget(metered);
    auto* right = new QVBoxLayout;
    right->addLayout(results);
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    auto* content = new QVBoxLayout;
    content->addLayout(columns);
    content->addLayout(checkRows_);
    SetContent(content);

    connect(showLoadFactorCheck_, &QCheckBox::toggled, this, [this] { EnableLoadFactorStyle(); });
}

void TwoPortDialog::LoadMembers() {
    const ElementArrays& record = Arrays();
    resistance_ = record.Value(BD::kResistance);
    reactance_ = record.Value(BD::kReactance);
    conductance_ = record.Value(BD::kConductance);
    susceptance_ = record.Value(BD::kSusceptance);
    rating_ = record.Value(BD::kRating);
    notification_ = record.Value(BD::kNotification);
    metered_ = static_cast<int>(record.Value(BD::kMeteredEnd)) != 0 ? 1 : 0;
    showFrom_ = record.Flag(kFromFlag);
    showTo_ = record.Flag(kToFlag);
    showLoadFactor_ = record.Flag(kLoadFactorFlag) != 0 ? 1 : 0;
    loadFactorStyle_ = record.Flag(kLoadFactorFlag) == kAsPercentageFlag ? 0 : 1;

    loadFactor_->setText(QString::fromStdString(LoadFactorText()));
    const double pFrom = record.Value(BD::kPFrom);
    const double qFrom = record.Value(BD::kQFrom);
    const double pTo = record.Value(BD::kPTo);
    const double qTo = record.Value(BD::kQTo);
    const double flows[] = {pFrom, qFrom, pTo, qTo, pFrom + pTo, qFrom + qTo};
    for (std::size_t i = 0; i < flowFields_.size(); ++i) flowFields_[i]->setText(Fixed3(flows[i]));
    ShowEnds();
}

QString TwoPortDialog::EndName(int end) const {
    const std::string* name = Element().GetEndName(end);
    return name != nullptr ? FromWindows1250(*name) : QString();
}

void TwoPortDialog::ShowEnds() {
    QLineEdit* names[] = {fromName_, toName_};
    for (int end = 0; end < 2; ++end) {
        names[end]->setText(Element().GetEndName(end) != nullptr ? EndName(end) : QString::fromLatin1(kUnconnected));
    }
    std::vector<IElement*> ends;
    Element().GetConnectedElements(ends);
    auto nominal = [](IElement* bus) {
        const double* values = bus != nullptr ? bus->GetValues() : nullptr;
        return values != nullptr ? Fixed3(values[0]) : QString();
    };
    if (ends.size() >= 2) {
        fromKv_->setText(nominal(ends[0]));
        toKv_->setText(nominal(ends[1]));
    } else if (ends.size() == 1) {
        // One end only: its voltage stands for both.
        fromKv_->setText(nominal(ends[0]));
        toKv_->setText(nominal(ends[0]));
    }
}

void TwoPortDialog::ArrangeControls() { EnableLoadFactorStyle(); }

void TwoPortDialog::EnableLoadFactorStyle() {
    for (QRadioButton* radio : loadFactorRadios_) radio->setEnabled(showLoadFactorCheck_->isChecked());
}

void TwoPortDialog::DoDataExchange(DataExchange& exchange) {
    exchange.Radio(meteredRadios_, metered_);
    ExactNumber(exchange, *resistanceField_, resistance_);
    ExactNumber(exchange, *reactanceField_, reactance_);
    ExactNumber(exchange, *conductanceField_, conductance_, FieldRange<double>{0, 9999999999});
    ExactNumber(exchange, *susceptanceField_, susceptance_);
    ExactNumber(exchange, *ratingField_, rating_);
    ExactNumber(exchange, *notificationField_, notification_, FieldRange<double>{0, 1e22});
    exchange.Check(*showFromCheck_, showFrom_);
    exchange.Check(*showToCheck_, showTo_);
    exchange.Check(*showLoadFactorCheck_, showLoadFactor_);
    exchange.Radio(loadFactorRadios_, loadFactorStyle_);
}

bool TwoPortDialog::WriteBack() {
    ElementArrays& record = Arrays();
    record.SetFlag(kFromFlag, showFrom_);
    record.SetFlag(kToFlag, showTo_);
    record.SetFlag(kLoadFactorFlag, LoadFactorFlag(showLoadFactor_ != 0, loadFactorStyle_ == 0));
    record.SetValue(BD::kResistance, resistance_);
    record.SetValue(BD::kReactance, reactance_);
    record.SetValue(BD::kSusceptance, susceptance_);
    record.SetValue(BD::kConductance, conductance_);
    record.SetValue(BD::kRating, rating_);
    record.SetValue(BD::kNotification, notification_);
    // A stored end other than 0 or 1 counts as To, and stays as it was
    // unless the user picks the other end.
    if (metered_ != (static_cast<int>(record.Value(BD::kMeteredEnd)) != 0 ? 1 : 0)) {
        record.SetValue(BD::kMeteredEnd, metered_);
    }
    return false;
}
