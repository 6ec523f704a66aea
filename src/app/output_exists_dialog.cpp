#include "app/output_exists_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {
namespace {

QPlainTextEdit* MakeDescription(std::string_view text, const char* name, QWidget* parent) {
    auto* field = new QPlainTextEdit(parent);
    field->setObjectName(QLatin1String(name));
    // The descriptions come with Windows line ends.
    field->setPlainText(Qs(text).remove(QLatin1Char('\r')));
    field->setReadOnly(true);
    field->setTabChangesFocus(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(field->font());
    field->setFixedHeight(metrics.lineSpacing() * 2 + 2 * field->frameWidth() +
                          static_cast<int>(2 * field->document()->documentMargin()) + 4);
    field->setMinimumWidth(metrics.averageCharWidth() * 56);
    return field;
}

}  // namespace

COutputExistsDlg::COutputExistsDlg(const OutputExistsRequest& request, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("outputExistsDialog"));
    setWindowTitle(Qs(TXT_OUTPUT_EXISTS_TITLE));

    auto* message = new QLabel(Qs(request.message), this);
    message->setObjectName(QStringLiteral("message"));
    auto* inputLabel = new QLabel(Qs(TXT_OUTPUT_EXISTS_ORIGINAL), this);
    auto* outputLabel = new QLabel(Qs(TXT_OUTPUT_EXISTS_OUTPUT), this);
    QPlainTextEdit* input = MakeDescription(request.inputText, "input", this);
    QPlainTextEdit* output = MakeDescription(request.outputText, "output", this);

    m_choices = new QButtonGroup(this);
    auto* radios = new QVBoxLayout;
    const char* texts[] = {TXT_OUTPUT_EXISTS_OVERWRITE, TXT_OUTPUT_EXISTS_SKIP,
                           TXT_OUTPUT_EXISTS_IF_NEWER};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(Qs(texts[i]), this);
        radio->setObjectName(QStringLiteral("choice%1").arg(i));
        m_choices->addButton(radio, i);
        radios->addWidget(radio);
    }
    const int initial = request.radioIndex >= 0 && request.radioIndex < 3 ? request.radioIndex : 0;
    m_choices->button(initial)->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(Qs(TXT_BUTTON_OK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* forAll =
        buttons->addButton(Qs(TXT_OUTPUT_EXISTS_FOR_ALL), QDialogButtonBox::ActionRole);
    forAll->setObjectName(QStringLiteral("forAll"));
    forAll->setEnabled(request.forAllEnabled);
    QPushButton* cancel =
        buttons->addButton(Qs(TXT_BUTTON_CANCEL_SHORT), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(forAll, &QPushButton::clicked, this, [this] { done(FOR_ALL); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(inputLabel, 0, 0, Qt::AlignTop);
    fields->addWidget(input, 0, 1);
    fields->addWidget(outputLabel, 1, 0, Qt::AlignTop);
    fields->addWidget(output, 1, 1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeIconLabel(QStyle::SP_MessageBoxQuestion, this), 0, 0, 3, 1);
    layout->addWidget(message, 0, 1);
    layout->addLayout(fields, 1, 1);
    layout->addLayout(radios, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_choices->button(initial)->setFocus();
}

int COutputExistsDlg::RadioIndex() const {
    return m_choices->checkedId();
}

OutputExistsClose COutputExistsDlg::ClosedWith() const {
    if (result() == FOR_ALL) return OutputExistsClose::ForAll;
    return result() == QDialog::Accepted ? OutputExistsClose::Ok : OutputExistsClose::Cancel;
}

}  // namespace trimlet
