#include "frmMain.h"

#include "Twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace flagwright {

namespace {
constexpr const char* Instructions =
    "This program will update the Kind Code table to fix problems with 'Direct' and 'Line "
    "Overheard' data for an Emberline database version 14.01.03 database.";
constexpr const char* Selection = "Select a database from the dropdown list to be updated.";

// The classic dialog face at 8.25 pt; where it is missing, a sans-serif of the same width
// keeps every text inside its fixed box.
QFont WindowFont()
{
    QFont font;
    font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo",
                      "Nimbus Sans", "Arial", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QFont LabelFont()
{
    QFont font = WindowFont();
    font.setWeight(QFont::Bold);
    return font;
}

template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(name);
    control->setGeometry(TwipsRect(*control, left, top, width, height));
    return control;
}

// A bold label that wraps its text inside a box of fixed size.
QLabel* FixedLabel(QWidget* parent, const char* text, Qt::Alignment alignment)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(LabelFont());
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// An editable list that keeps what is typed as typed: Enter adds nothing, nothing completes.
QComboBox* DatabaseComboBox(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setDuplicatesEnabled(true);
    combo->setCompleter(nullptr);
    return combo;
}
} // namespace

frmMain::frmMain(ConnectionFactory newConnection, ConnectionSettings instance)
    : fraInstructions_(Place(new QGroupBox(this), "fraInstructions", 240, 0, 6735, 1575)),
      lblInstructions_(Place(FixedLabel(fraInstructions_, Instructions, Qt::AlignLeft),
                             "lblInstructions", 120, 240, 6360, 1170)),
      lblPath_(
          Place(FixedLabel(this, Selection, Qt::AlignHCenter), "lblPath", 1215, 1695, 4515, 450)),
      cboDatabase_(Place(DatabaseComboBox(this), "cboDatabase", 1200, 2280, 4575, 315)),
      cmdUpdate_(Place(new QPushButton(QStringLiteral("Update the Selected Database"), this),
                       "cmdUpdate", 2280, 2880, 2415, 420)),
      combo_(*cboDatabase_), window_(this),
      events_(combo_, window_, std::move(newConnection), std::move(instance))
{
    setObjectName("frmMain");
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Emberline Flagwright"));
    setWindowIcon(QIcon(QStringLiteral(":/flagwright.ico")));
    resize(TwipsRect(*this, 0, 0, 7260, 3570).size());
    move(screen()->availableGeometry().center() - rect().center());

    cmdUpdate_->setAutoDefault(false);
    cmdUpdate_->setDefault(false);
    setTabOrder(cmdUpdate_, cboDatabase_);
    cmdUpdate_->setFocus();
    connect(cmdUpdate_, &QPushButton::clicked, this, [this] { events_.cmdUpdate_Click(); });

    events_.Form_Load();
}

} // namespace flagwright
