#include "app/trim_pages.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "settings/profile_keys.h"

namespace trimlet {

namespace {

QCheckBox* AddCheckBox(QLayout* layout, const char* text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(Qs(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    layout->addWidget(box);
    return box;
}

QRadioButton* AddRadio(QLayout* layout, const char* text, const char* name, QWidget* parent) {
    auto* radio = new QRadioButton(Qs(text), parent);
    radio->setObjectName(QString::fromLatin1(name));
    layout->addWidget(radio);
    return radio;
}

QGroupBox* AddGroup(QVBoxLayout* layout, const char* title, const char* name, QWidget* parent) {
    auto* group = new QGroupBox(Qs(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setLayout(new QVBoxLayout);
    layout->addWidget(group);
    return group;
}

// A box that refines the one above it, indented under it.
QCheckBox* AddSubCheckBox(QVBoxLayout* layout, const char* text, const char* name,
                          QWidget* parent) {
    auto* row = new QVBoxLayout;
    row->setContentsMargins(20, 0, 0, 0);
    layout->addLayout(row);
    return AddCheckBox(row, text, name, parent);
}

}  // namespace

// ---- CPPTrimlet ------------------------------------------------------------------------

CPPTrimlet::CPPTrimlet(Dialogs& dialogs, Profile& profile, QWidget* parent)
    : COptionsPage(parent), m_dialogs(dialogs), m_profile(profile) {
    setObjectName(QStringLiteral("pageWhitespace"));
    auto* layout = new QVBoxLayout(this);
    m_collapseSpaces = AddCheckBox(layout, TXT_WHITESPACE_COLLAPSE_SPACES, "collapseSpaces", this);
    m_zenkakuAsWsp = AddCheckBox(layout, TXT_WHITESPACE_ZENKAKU_AS_WSP, "zenkakuAsWsp", this);
    m_crRegAsWsp = AddCheckBox(layout, TXT_WHITESPACE_CR_REG_AS_WSP, "crRegAsWsp", this);
    m_trimLineEnds = AddCheckBox(layout, TXT_WHITESPACE_TRIM_LINE_ENDS, "trimLineEnds", this);

    QGroupBox* blankLines =
        AddGroup(layout, TXT_WHITESPACE_BLANK_LINES_GROUP, "blankLinesGroup", this);
    m_blankDelete = AddRadio(blankLines->layout(), TXT_WHITESPACE_BLANK_LINES_DELETE,
                             "blankLinesDelete", blankLines);
    m_blankMerge = AddRadio(blankLines->layout(), TXT_WHITESPACE_BLANK_LINES_MERGE,
                            "blankLinesMerge", blankLines);
    m_blankLeave = AddRadio(blankLines->layout(), TXT_WHITESPACE_BLANK_LINES_LEAVE,
                            "blankLinesLeave", blankLines);
    auto* radios = new QButtonGroup(this);
    radios->addButton(m_blankDelete);
    radios->addButton(m_blankMerge);
    radios->addButton(m_blankLeave);

    m_betweenTags = AddCheckBox(layout, TXT_WHITESPACE_BETWEEN_TAGS, "betweenTags", this);
    m_betweenInlineTags =
        AddSubCheckBox(layout, TXT_WHITESPACE_BETWEEN_INLINE_TAGS, "betweenInlineTags", this);
    m_insidePre = AddCheckBox(layout, TXT_WHITESPACE_INSIDE_PRE, "insidePre", this);
    layout->addStretch();

    connect(m_crRegAsWsp, &QCheckBox::clicked, this,
            [this](bool checked) { OnLineBreaksClicked(checked); });
    connect(m_betweenTags, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
}

WhitespacePageState CPPTrimlet::State() const {
    WhitespacePageState state;
    state.collapseSpaces = m_collapseSpaces->isChecked();
    state.zenkakuAsWsp = m_zenkakuAsWsp->isChecked();
    state.crRegAsWsp = m_crRegAsWsp->isChecked();
    state.trimLineEnds = m_trimLineEnds->isChecked();
    state.blankLines = m_blankDelete->isChecked()  ? BlankLineChoice::Delete
                       : m_blankMerge->isChecked() ? BlankLineChoice::Merge
                                                   : BlankLineChoice::Leave;
    state.betweenTags = m_betweenTags->isChecked();
    state.betweenInlineTags = m_betweenInlineTags->isChecked();
    state.insidePre = m_insidePre->isChecked();
    return state;
}

void CPPTrimlet::Load() {
    const WhitespacePageState state = ReadWhitespacePage(m_profile);
    m_collapseSpaces->setChecked(state.collapseSpaces);
    m_zenkakuAsWsp->setChecked(state.zenkakuAsWsp);
    m_crRegAsWsp->setChecked(state.crRegAsWsp);
    m_trimLineEnds->setChecked(state.trimLineEnds);
    switch (state.blankLines) {
        case BlankLineChoice::Delete:
            m_blankDelete->setChecked(true);
            break;
        case BlankLineChoice::Merge:
            m_blankMerge->setChecked(true);
            break;
        case BlankLineChoice::Leave:
            m_blankLeave->setChecked(true);
            break;
    }
    m_betweenTags->setChecked(state.betweenTags);
    m_betweenInlineTags->setChecked(state.betweenInlineTags);
    m_insidePre->setChecked(state.insidePre);
    UpdateEnabled();
}

bool CPPTrimlet::Save() {
    ApplyWhitespacePage(m_profile, State());
    return true;
}

// A disabled control keeps its state, and that state is stored.
void CPPTrimlet::UpdateEnabled() {
    const WhitespacePageState state = State();
    for (QRadioButton* radio : {m_blankDelete, m_blankMerge, m_blankLeave})
        radio->setEnabled(state.BlankLineRadiosEnabled());
    m_betweenInlineTags->setEnabled(state.BetweenInlineTagsEnabled());
}

void CPPTrimlet::OnLineBreaksClicked(bool checked) {
    UpdateEnabled();
    if (checked) OfferCrRegAsWspHint(m_dialogs, m_profile);
}

// ---- CPPTrimletComment -----------------------------------------------------------------

CPPTrimletComment::CPPTrimletComment(Profile& profile, QWidget* parent)
    : COptionsPage(parent), m_profile(profile) {
    setObjectName(QStringLiteral("pageComment"));
    auto* layout = new QVBoxLayout(this);
    m_htmlCommentDel = AddCheckBox(layout, TXT_COMMENT_HTML_DEL, "htmlCommentDel", this);
    m_htmlExceptions =
        AddGroup(layout, TXT_COMMENT_HTML_EXCEPTIONS_GROUP, "htmlExceptionsGroup", this);
    QLayout* exceptions = m_htmlExceptions->layout();
    m_bodyCommentsOnly =
        AddCheckBox(exceptions, TXT_COMMENT_BODY_ONLY, "bodyCommentsOnly", m_htmlExceptions);
    // STYLE blocks get no comment treatment of their own; the box only says so.
    m_keepStyle = AddCheckBox(exceptions, TXT_COMMENT_KEEP_STYLE, "keepStyle", m_htmlExceptions);
    m_keepStyle->setEnabled(false);
    m_keepScriptHtmlComment = AddCheckBox(exceptions, TXT_COMMENT_KEEP_SCRIPT_HTML,
                                          "keepScriptHtmlComment", m_htmlExceptions);
    m_keepSsi = AddCheckBox(exceptions, TXT_COMMENT_KEEP_SSI, "keepSsi", m_htmlExceptions);
    m_keepDovetag =
        AddCheckBox(exceptions, TXT_COMMENT_KEEP_DOVETAG, "keepDovetag", m_htmlExceptions);

    m_scriptCommentDel = AddCheckBox(layout, TXT_COMMENT_SCRIPT_DEL, "scriptCommentDel", this);
    m_scriptKinds = AddGroup(layout, TXT_COMMENT_SCRIPT_GROUP, "scriptKindsGroup", this);
    QLayout* kinds = m_scriptKinds->layout();
    m_scriptBlockComment =
        AddCheckBox(kinds, TXT_COMMENT_SCRIPT_BLOCK, "scriptBlockComment", m_scriptKinds);
    m_scriptLineComment =
        AddCheckBox(kinds, TXT_COMMENT_SCRIPT_LINE, "scriptLineComment", m_scriptKinds);
    m_vbsRemComment = AddCheckBox(kinds, TXT_COMMENT_VBS_REM, "vbsRemComment", m_scriptKinds);
    m_specialCommentsDel = AddCheckBox(layout, TXT_COMMENT_SPECIAL_DEL, "specialCommentsDel", this);

    // The user's own beginnings stay whatever the boxes above say.
    QGroupBox* kept = AddGroup(layout, TXT_COMMENT_KEPT_GROUP, "keptCommentsGroup", this);
    kept->setToolTip(Qs(TXT_COMMENT_KEPT_TIP));
    auto* keptRow = new QHBoxLayout;
    static_cast<QVBoxLayout*>(kept->layout())->addLayout(keptRow);
    m_keptComments = new QListWidget(kept);
    m_keptComments->setObjectName(QStringLiteral("keptComments"));
    m_keptComments->setSelectionMode(QAbstractItemView::SingleSelection);
    m_keptComments->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed);
    m_keptComments->setMaximumHeight(m_keptComments->fontMetrics().height() * 5);
    keptRow->addWidget(m_keptComments);
    auto* keptButtons = new QVBoxLayout;
    keptRow->addLayout(keptButtons);
    const auto button = [kept, keptButtons](const char* text, const char* name) {
        auto* b = new QPushButton(Qs(text), kept);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        keptButtons->addWidget(b);
        return b;
    };
    m_addKept = button(TXT_COMMENT_KEPT_ADD, "addKeptComment");
    m_editKept = button(TXT_COMMENT_KEPT_EDIT, "editKeptComment");
    m_removeKept = button(TXT_COMMENT_KEPT_REMOVE, "removeKeptComment");
    keptButtons->addStretch();
    layout->addStretch();

    connect(m_htmlCommentDel, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
    connect(m_scriptCommentDel, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
    connect(m_addKept, &QPushButton::clicked, this, [this] { AddKeptComment(); });
    connect(m_editKept, &QPushButton::clicked, this, [this] { EditKeptComment(); });
    connect(m_removeKept, &QPushButton::clicked, this, [this] { RemoveKeptComment(); });
    connect(m_keptComments, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { OnKeptCommentChanged(item); });
    connect(m_keptComments, &QListWidget::currentItemChanged, this,
            [this] { UpdateKeptButtons(); });
    // An entry added but left empty goes once its editor closes.
    connect(m_keptComments->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        for (int row = m_keptComments->count() - 1; row >= 0; --row) {
            if (CleanKeptComment(Utf8(m_keptComments->item(row)->text())).empty())
                delete m_keptComments->takeItem(row);
        }
        UpdateKeptButtons();
    });
    UpdateKeptButtons();
}

std::vector<std::string> CPPTrimletComment::KeptComments() const {
    std::vector<std::string> entries;
    for (int row = 0; row < m_keptComments->count(); ++row) {
        std::string entry = CleanKeptComment(Utf8(m_keptComments->item(row)->text()));
        if (!entry.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

void CPPTrimletComment::UpdateKeptButtons() {
    const bool current = m_keptComments->currentItem() != nullptr;
    m_editKept->setEnabled(current);
    m_removeKept->setEnabled(current);
}

void CPPTrimletComment::AddKeptComment() {
    auto* item = new QListWidgetItem(m_keptComments);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_keptComments->setCurrentItem(item);
    m_keptComments->setFocus(Qt::OtherFocusReason);
    m_keptComments->editItem(item);
}

void CPPTrimletComment::EditKeptComment() {
    if (QListWidgetItem* item = m_keptComments->currentItem()) {
        m_keptComments->setFocus(Qt::OtherFocusReason);
        m_keptComments->editItem(item);
    }
}

void CPPTrimletComment::RemoveKeptComment() {
    delete m_keptComments->takeItem(m_keptComments->currentRow());
    UpdateKeptButtons();
}

void CPPTrimletComment::OnKeptCommentChanged(QListWidgetItem* item) {
    const QString clean = Qs(CleanKeptComment(Utf8(item->text())));
    if (clean != item->text()) {
        const QSignalBlocker quiet(m_keptComments);
        item->setText(clean);
    }
}

CommentPageState CPPTrimletComment::State() const {
    CommentPageState state;
    state.htmlCommentDel = m_htmlCommentDel->isChecked();
    state.bodyCommentsOnly = m_bodyCommentsOnly->isChecked();
    state.keepScriptHtmlComment = m_keepScriptHtmlComment->isChecked();
    state.keepSsi = m_keepSsi->isChecked();
    state.keepDovetag = m_keepDovetag->isChecked();
    state.scriptCommentDel = m_scriptCommentDel->isChecked();
    state.scriptBlockComment = m_scriptBlockComment->isChecked();
    state.scriptLineComment = m_scriptLineComment->isChecked();
    state.vbsRemComment = m_vbsRemComment->isChecked();
    state.specialCommentsDel = m_specialCommentsDel->isChecked();
    return state;
}

void CPPTrimletComment::Load() {
    const CommentPageState state = ReadCommentPage(m_profile);
    m_htmlCommentDel->setChecked(state.htmlCommentDel);
    m_bodyCommentsOnly->setChecked(state.bodyCommentsOnly);
    m_keepScriptHtmlComment->setChecked(state.keepScriptHtmlComment);
    m_keepSsi->setChecked(state.keepSsi);
    m_keepDovetag->setChecked(state.keepDovetag);
    m_scriptCommentDel->setChecked(state.scriptCommentDel);
    m_scriptBlockComment->setChecked(state.scriptBlockComment);
    m_scriptLineComment->setChecked(state.scriptLineComment);
    m_vbsRemComment->setChecked(state.vbsRemComment);
    m_specialCommentsDel->setChecked(state.specialCommentsDel);
    m_keptComments->clear();
    for (const std::string& entry : ReadKeptComments(m_profile)) {
        auto* item = new QListWidgetItem(Qs(entry), m_keptComments);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    UpdateEnabled();
    UpdateKeptButtons();
}

bool CPPTrimletComment::Save() {
    ApplyCommentPage(m_profile, State());
    ApplyKeptComments(m_profile, KeptComments());
    return true;
}

// Disabling a group box disables the boxes in it; they keep their states. The STYLE box
// stays disabled when its group is enabled again.
void CPPTrimletComment::UpdateEnabled() {
    const CommentPageState state = State();
    m_htmlExceptions->setEnabled(state.HtmlExceptionsEnabled());
    m_scriptKinds->setEnabled(state.ScriptKindsEnabled());
    m_specialCommentsDel->setEnabled(state.SpecialCommentsEnabled());
}

}  // namespace trimlet
