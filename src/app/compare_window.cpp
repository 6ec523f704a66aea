#include "app/compare_window.h"

#include <QAction>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "app/app_texts.h"
#include "app/qt_text.h"
#include "batch/format.h"
#include "common/messages.h"

namespace trimlet {
namespace {

// The symbol shown at the end of a line whose line break was removed.
constexpr char16_t kRemovedBreak = u'\u21B5';

QColor RemovedColor() {
    return QColor(255, 205, 205);
}
QColor AddedColor() {
    return QColor(200, 240, 200);
}
QColor FillerColor() {
    return QColor(236, 236, 236);
}

// The QString index of each UTF-8 byte offset in `spans`, for `text`.
QList<QPair<int, int>> QtRanges(const std::string& text, const std::vector<CompareSpan>& spans) {
    QList<QPair<int, int>> ranges;
    std::size_t byte = 0;
    int index = 0;
    const auto advanceTo = [&](std::size_t to) {
        for (; byte < to && byte < text.size(); ++byte) {
            const auto c = static_cast<unsigned char>(text[byte]);
            if ((c & 0xC0) != 0x80) index += c >= 0xF0 ? 2 : 1;
        }
        return index;
    };
    for (const CompareSpan& span : spans) {
        const int begin = advanceTo(span.begin);
        const int end = advanceTo(span.end);
        ranges.append({begin, end - begin});
    }
    return ranges;
}

// Tints the marked ranges of each block (row) of one side.
class CMarkHighlighter final : public QSyntaxHighlighter {
  public:
    struct Mark {
        int start;
        int length;
        QTextCharFormat format;
    };
    CMarkHighlighter(QTextDocument* document, std::vector<QList<Mark>> marks)
        : QSyntaxHighlighter(document), m_marks(std::move(marks)) {}

  protected:
    void highlightBlock(const QString&) override {
        const int row = currentBlock().blockNumber();
        if (row < 0 || static_cast<std::size_t>(row) >= m_marks.size()) return;
        for (const Mark& mark : m_marks[static_cast<std::size_t>(row)])
            setFormat(mark.start, mark.length, mark.format);
    }

  private:
    std::vector<QList<Mark>> m_marks;
};

QPlainTextEdit* MakeSide(const char* name, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setUndoRedoEnabled(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    edit->setFont(font);
    edit->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 4);
    return edit;
}

// Fills `edit` with the given lines, tints `fillers` (rows without a line) and marks.
void FillSide(QPlainTextEdit* edit, const QStringList& lines, const std::vector<bool>& fillers,
              std::vector<QList<CMarkHighlighter::Mark>> marks) {
    edit->setPlainText(lines.join(QLatin1Char('\n')));
    QTextBlockFormat filler;
    filler.setBackground(FillerColor());
    QTextBlock block = edit->document()->firstBlock();
    for (std::size_t row = 0; row < fillers.size() && block.isValid(); ++row) {
        if (fillers[row]) QTextCursor(block).setBlockFormat(filler);
        block = block.next();
    }
    new CMarkHighlighter(edit->document(), std::move(marks));
}

const char* CharsetName(const FileComparison& file) {
    if (file.utf16) return TXT_CHARSET_UTF16;
    return file.charset == Charset::Utf8 ? TXT_CHARSET_UTF8 : TXT_CHARSET_SHIFT_JIS;
}

}  // namespace

CCompareWindow::CCompareWindow(const std::string& path, TrimMode trimMode,
                               std::string scriptExtensions, std::vector<std::string> keptComments,
                               QWidget* parent, bool verify)
    : QWidget(parent, Qt::Window), m_path(path) {
    setObjectName(QStringLiteral("compareWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString name = QFileInfo(Qs(path)).fileName();
    setWindowTitle(Qs(FormatText(TXT_COMPARE_TITLE_FORMAT, {Utf8(name)})));

    m_summary = new QLabel(Qs(TXT_COMPARE_WORKING), this);
    m_summary->setObjectName(QStringLiteral("compareSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* keys = new QLabel(Qs(TXT_COMPARE_KEYS), this);
    keys->setObjectName(QStringLiteral("compareKeys"));
    keys->setEnabled(false);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("compareNote"));
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note->hide();
    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("compareVerdict"));
    m_verdict->setWordWrap(true);
    m_verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_verdict->setMargin(4);
    m_verdict->setAutoFillBackground(true);
    m_verdict->hide();

    m_beforeCaption = new QLabel(this);
    m_afterCaption = new QLabel(this);
    m_before = MakeSide("compareBefore", this);
    m_after = MakeSide("compareAfter", this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(keys);
    auto* sides = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(m_beforeCaption);
    left->addWidget(m_before, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_afterCaption);
    right->addWidget(m_after, 1);
    sides->addLayout(left, 1);
    sides->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_verdict);
    layout->addWidget(m_note);
    layout->addLayout(sides, 1);

    // Both sides scroll together: their rows are the same. A side whose lines are shorter
    // stops at its own end without holding the other back, and both keep their horizontal
    // bar so that they show as many rows.
    for (QPlainTextEdit* side : {m_before, m_after})
        side->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const auto follow = [this](QScrollBar* from, QScrollBar* to) {
        const auto sync = [this](QScrollBar* target, int value) {
            if (m_syncingScroll) return;
            m_syncingScroll = true;
            target->setValue(value);
            m_syncingScroll = false;
        };
        connect(from, &QScrollBar::valueChanged, this, [sync, to](int value) { sync(to, value); });
    };
    for (const auto& sides : {std::pair{m_before, m_after}, std::pair{m_after, m_before}}) {
        QPlainTextEdit* from = sides.first;
        QPlainTextEdit* to = sides.second;
        follow(from->verticalScrollBar(), to->verticalScrollBar());
        follow(from->horizontalScrollBar(), to->horizontalScrollBar());
        // A side scrolled by its caret (keys, the next change) moves its bar silently; it
        // tells only that its rows moved.
        connect(from, &QPlainTextEdit::updateRequest, this, [this, from, to](const QRect&, int dy) {
            if (dy == 0 || m_syncingScroll) return;
            m_syncingScroll = true;
            to->verticalScrollBar()->setValue(from->verticalScrollBar()->value());
            m_syncingScroll = false;
        });
    }

    const auto addKeys = [this](const char* objectName, QList<QKeySequence> keys, auto slot) {
        auto* action = new QAction(this);
        action->setObjectName(QLatin1String(objectName));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    addKeys("actionNextChange", {QKeySequence(Qt::Key_F8), QKeySequence(Qt::ALT | Qt::Key_Down)},
            &CCompareWindow::NextChange);
    addKeys("actionPreviousChange",
            {QKeySequence(Qt::SHIFT | Qt::Key_F8), QKeySequence(Qt::ALT | Qt::Key_Up)},
            &CCompareWindow::PreviousChange);
    addKeys("actionCloseCompare", {QKeySequence(Qt::Key_Escape)}, &QWidget::close);

    resize(960, 600);

    m_watcher = new QFutureWatcher<FileComparison>(this);
    connect(m_watcher, &QFutureWatcher<FileComparison>::finished, this, [this] {
        m_file = m_watcher->result();
        if (m_file.result == RESULT_OK) {
            ShowComparison();
        } else {
            ShowFailure();
        }
        m_ready = true;
        emit Ready();
    });
    m_watcher->setFuture(QtConcurrent::run(
        [path, trimMode, extensions = std::move(scriptExtensions), kept = std::move(keptComments),
         verify] { return CompareFile(path, trimMode, extensions, {}, verify, kept); }));
}

CCompareWindow::~CCompareWindow() {
    // A comparison still under way finishes on its own; its result is dropped.
    m_watcher->disconnect(this);
}

void CCompareWindow::ShowComparison() {
    const Comparison& comparison = m_file.comparison;
    const std::size_t count = comparison.rows.size();
    QStringList leftLines, rightLines;
    std::vector<bool> leftFillers(count), rightFillers(count);
    std::vector<QList<CMarkHighlighter::Mark>> leftMarks(count), rightMarks(count);
    QTextCharFormat removed;
    removed.setBackground(RemovedColor());
    QTextCharFormat removedBreak = removed;
    removedBreak.setForeground(QColor(170, 0, 0));
    removedBreak.setFontWeight(QFont::Bold);
    QTextCharFormat added;
    added.setBackground(AddedColor());
    QTextCharFormat joined;
    joined.setForeground(QColor(110, 110, 110));
    joined.setFontItalic(true);

    for (std::size_t i = 0; i < count; ++i) {
        const CompareRow& row = comparison.rows[i];
        QString left;
        if (row.leftLine >= 0) {
            left = Qs(row.leftText);
            for (const auto& [start, length] : QtRanges(row.leftText, row.leftMarks))
                leftMarks[i].append({start, length, removed});
            if (row.leftBreakRemoved) {
                leftMarks[i].append({static_cast<int>(left.size()), 1, removedBreak});
                left += QChar(kRemovedBreak);
            }
        } else {
            leftFillers[i] = true;
        }
        QString right;
        if (row.rightLine >= 0) {
            right = Qs(row.rightText);
            for (const auto& [start, length] : QtRanges(row.rightText, row.rightMarks))
                rightMarks[i].append({start, length, added});
        } else {
            rightFillers[i] = true;
            if (row.joinedLine >= 0) {
                right = Qs(FormatText(TXT_COMPARE_JOINED_FORMAT, {row.joinedLine + 1}));
                rightMarks[i].append({0, static_cast<int>(right.size()), joined});
            }
        }
        leftLines << left;
        rightLines << right;
    }
    FillSide(m_before, leftLines, leftFillers, std::move(leftMarks));
    FillSide(m_after, rightLines, rightFillers, std::move(rightMarks));

    const char* charset = CharsetName(m_file);
    m_beforeCaption->setText(Qs(FormatText(TXT_COMPARE_BEFORE_FORMAT, {charset})));
    m_afterCaption->setText(Qs(FormatText(TXT_COMPARE_AFTER_FORMAT, {charset})));
    if (comparison.cut != CompareCut::None) {
        m_note->setText(Qs(comparison.cut == CompareCut::PageTooLarge ? TXT_COMPARE_CUT_SIZE
                                                                      : TXT_COMPARE_CUT_TIME));
        m_note->show();
    }
    ShowVerdict();
    UpdateSummary();
}

void CCompareWindow::ShowVerdict() {
    if (!m_file.verdict) return;
    QPalette palette = m_verdict->palette();
    switch (m_file.verdict->status) {
        case VerifyStatus::Same:
            m_verdict->setText(Qs(TXT_COMPARE_VERIFY_SAME));
            palette.setColor(QPalette::Window, AddedColor());
            break;
        case VerifyStatus::Differs:
            m_verdict->setText(
                Qs(FormatText(TXT_COMPARE_VERIFY_DIFFERS, {m_file.verdict->difference})));
            palette.setColor(QPalette::Window, QColor(255, 236, 160));
            break;
        case VerifyStatus::Skipped:
            m_verdict->setText(Qs(TXT_COMPARE_VERIFY_SKIPPED));
            palette.setColor(QPalette::Window, FillerColor());
            break;
    }
    palette.setColor(QPalette::WindowText, Qt::black);
    m_verdict->setPalette(palette);
    m_verdict->show();
}

void CCompareWindow::ShowFailure() {
    m_summary->clear();
    m_note->setText(Qs(FormatMessage(CompareFailureMessage(m_file.result), m_path)));
    m_note->show();
}

void CCompareWindow::UpdateSummary() {
    std::string text =
        FormatText(TXT_COMPARE_SUMMARY_FORMAT,
                   {FormatSize(m_file.bytesBefore), FormatSize(m_file.bytesAfter), ChangeCount()});
    if (m_current >= 0)
        text += FormatText(TXT_COMPARE_POSITION_FORMAT, {m_current + 1, ChangeCount()});
    m_summary->setText(Qs(text));
}

void CCompareWindow::NextChange() {
    if (ChangeCount() > 0) MoveToChange(std::min(m_current + 1, ChangeCount() - 1));
}

void CCompareWindow::PreviousChange() {
    if (ChangeCount() > 0) MoveToChange(std::max(m_current - 1, 0));
}

void CCompareWindow::MoveToChange(int index) {
    m_current = index;
    const CompareChange& change = m_file.comparison.changes[static_cast<std::size_t>(index)];
    const CompareRow& row = m_file.comparison.rows[change.row];
    QPlainTextEdit* side = change.onLeft ? m_before : m_after;
    QPlainTextEdit* other = change.onLeft ? m_after : m_before;
    const std::string& text = change.onLeft ? row.leftText : row.rightText;
    const std::vector<CompareSpan>& marks = change.onLeft ? row.leftMarks : row.rightMarks;

    // The mark the change begins with is selected; a removed line break alone has none.
    std::vector<CompareSpan> span{{change.column, change.column}};
    for (const CompareSpan& mark : marks)
        if (mark.begin <= change.column && change.column < mark.end) span = {mark};
    const auto range = QtRanges(text, span).front();
    const QTextBlock block = side->document()->findBlockByNumber(static_cast<int>(change.row));
    QTextCursor cursor(block);
    const int blockEnd = block.position() + block.length() - 1;
    cursor.setPosition(std::min(block.position() + range.first, blockEnd));
    cursor.setPosition(
        std::min(block.position() + range.first + std::max(range.second, 1), blockEnd),
        QTextCursor::KeepAnchor);
    // The other side's cursor goes to the row first: placing it scrolls that side, and the
    // change must have the last word on where both sides show.
    other->setTextCursor(
        QTextCursor(other->document()->findBlockByNumber(static_cast<int>(change.row))));
    side->setTextCursor(cursor);
    side->centerCursor();
    UpdateSummary();
}

}  // namespace trimlet
