#include "app/result_summary_dialog.h"

#include <algorithm>

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/qt_text.h"
#include "batch/format.h"
#include "common/messages.h"

namespace trimlet {
namespace {

QFrame* MakeLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* MakeValue(const std::string& text, const char* name, QWidget* parent) {
    auto* value = new QLabel(Qs(text), parent);
    value->setObjectName(QLatin1String(name));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(
        value->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000,000 ")));
    return value;
}

}  // namespace

CResultSummaryDlg::CResultSummaryDlg(const RunSummary& summary, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("resultSummaryDialog"));
    setWindowTitle(Qs(TXT_SUMMARY_TITLE));

    const SummaryTexts texts = FormatSummary(ResultSummary{
        summary.succeededCount, summary.skippedCount, summary.sourceTotal, summary.trimmedTotal});

    auto* heading = new QLabel(Qs(TXT_SUMMARY_HEADING), this);
    heading->setObjectName(QStringLiteral("heading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* skippedLabels = new QLabel(
        Qs(TXT_SUMMARY_SKIPPED) + QLatin1Char('\n') + Qs(TXT_SUMMARY_SKIPPED_NOTE), this);
    auto* sourceLabel = new QLabel(Qs(TXT_SUMMARY_SOURCE_TOTAL), this);
    auto* trimmedLabel = new QLabel(Qs(TXT_SUMMARY_TRIMMED_TOTAL), this);
    auto* rateLabel = new QLabel(Qs(TXT_SUMMARY_RATE), this);
    QLabel* source = MakeValue(texts.sourceText, "sourceTotal", this);
    QLabel* trimmed = MakeValue(texts.trimmedText, "trimmedTotal", this);
    QLabel* rate = MakeValue(texts.rateText, "rate", this);
    QFrame* rateLine = MakeLine(this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(Qs(TXT_BUTTON_OK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->setCenterButtons(true);

    auto* layout = new QGridLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(MakeIconLabel(QStyle::SP_MessageBoxInformation, this));
    top->addWidget(heading, 1);
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addWidget(MakeLine(this), 1, 0, 1, 2);
    layout->addWidget(new QLabel(Qs(TXT_SUMMARY_SUCCEEDED), this), 2, 0);
    layout->addWidget(MakeValue(texts.successText, "succeeded", this), 2, 1);
    layout->addWidget(skippedLabels, 3, 0);
    layout->addWidget(MakeValue(texts.skipText, "skipped", this), 3, 1);
    layout->addWidget(MakeLine(this), 4, 0, 1, 2);
    layout->addWidget(sourceLabel, 5, 0);
    layout->addWidget(source, 5, 1);
    layout->addWidget(trimmedLabel, 6, 0);
    layout->addWidget(trimmed, 6, 1);
    layout->addWidget(rateLine, 7, 0, 1, 2);
    layout->addWidget(rateLabel, 8, 0);
    layout->addWidget(rate, 8, 1);
    // The files not trimmed, each with its reason, to read and copy.
    if (!summary.skippedFiles.empty()) {
        auto* listLabel = new QLabel(Qs(TXT_SUMMARY_LIST_LABEL), this);
        auto* list = new QPlainTextEdit(this);
        list->setObjectName(QStringLiteral("skippedFiles"));
        list->setReadOnly(true);
        list->setLineWrapMode(QPlainTextEdit::NoWrap);
        list->setPlainText(Qs(SkippedFilesText(summary.skippedFiles)));
        // The reasons line up after the longest path; the list is as wide as its lines,
        // up to a limit past which it scrolls.
        const QFontMetrics metrics = list->fontMetrics();
        int pathWidth = 0;
        int reasonWidth = 0;
        for (const SkippedFile& file : summary.skippedFiles) {
            pathWidth = std::max(pathWidth, metrics.horizontalAdvance(Qs(file.path)));
            reasonWidth = std::max(reasonWidth, metrics.horizontalAdvance(Qs(SkipReason(file))));
        }
        const int gap = metrics.averageCharWidth() * 3;
        list->setTabStopDistance(pathWidth + gap);
        const int wanted = pathWidth + gap + reasonWidth + gap;
        list->setMinimumSize(
            std::clamp(wanted, metrics.averageCharWidth() * 60, metrics.averageCharWidth() * 120),
            metrics.lineSpacing() * 7);
        listLabel->setBuddy(list);
        QPushButton* copy = buttons->addButton(Qs(TXT_SUMMARY_COPY), QDialogButtonBox::ActionRole);
        copy->setObjectName(QStringLiteral("copySkipped"));
        connect(copy, &QPushButton::clicked, this,
                [list] { QGuiApplication::clipboard()->setText(list->toPlainText()); });
        layout->addWidget(MakeLine(this), 9, 0, 1, 2);
        layout->addWidget(listLabel, 10, 0, 1, 2);
        layout->addWidget(list, 11, 0, 1, 2);
    }
    layout->addWidget(buttons, 12, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* w : {static_cast<QWidget*>(sourceLabel), static_cast<QWidget*>(trimmedLabel),
                       static_cast<QWidget*>(rateLabel), static_cast<QWidget*>(source),
                       static_cast<QWidget*>(trimmed), static_cast<QWidget*>(rate),
                       static_cast<QWidget*>(rateLine)})
        w->setEnabled(texts.enabled);
    ok->setFocus();
}

}  // namespace trimlet
