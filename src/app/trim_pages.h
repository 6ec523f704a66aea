#pragma once
// The two pages of the options sheet that edit the trim mode: whitespace rules (CPPTrimlet)
// and comment rules (CPPTrimletComment). Which bits a control owns, which controls are
// enabled and how a page writes "MODE" back are decided by settings/trim_options.h; the
// pages only show that state and collect it from their controls.

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <vector>

#include "app/options_page.h"
#include "common/dialogs.h"
#include "settings/profile.h"
#include "settings/trim_options.h"

namespace trimlet {

class CPPTrimlet final : public COptionsPage {
  public:
    CPPTrimlet(Dialogs& dialogs, Profile& profile, QWidget* parent = nullptr);

    // The page as its controls show it now.
    WhitespacePageState State() const;

  protected:
    void Load() override;
    bool Save() override;

  private:
    void UpdateEnabled();
    void OnLineBreaksClicked(bool checked);

    Dialogs& m_dialogs;
    Profile& m_profile;
    QCheckBox* m_collapseSpaces;
    QCheckBox* m_zenkakuAsWsp;
    QCheckBox* m_crRegAsWsp;
    QCheckBox* m_trimLineEnds;
    QRadioButton* m_blankDelete;
    QRadioButton* m_blankMerge;
    QRadioButton* m_blankLeave;
    QCheckBox* m_betweenTags;
    QCheckBox* m_betweenInlineTags;
    QCheckBox* m_insidePre;
};

class CPPTrimletComment final : public COptionsPage {
  public:
    CPPTrimletComment(Profile& profile, QWidget* parent = nullptr);

    CommentPageState State() const;
    // The list of comment beginnings as it stands, cleaned, without empty entries.
    std::vector<std::string> KeptComments() const;

  protected:
    void Load() override;
    bool Save() override;

  private:
    void UpdateEnabled();
    void UpdateKeptButtons();
    void AddKeptComment();
    void EditKeptComment();
    void RemoveKeptComment();
    // An entry edited in place: cleaned, and dropped when nothing is left.
    void OnKeptCommentChanged(QListWidgetItem* item);

    Profile& m_profile;
    QCheckBox* m_htmlCommentDel;
    QGroupBox* m_htmlExceptions;
    QCheckBox* m_bodyCommentsOnly;
    QCheckBox* m_keepStyle;
    QCheckBox* m_keepScriptHtmlComment;
    QCheckBox* m_keepSsi;
    QCheckBox* m_keepDovetag;
    QCheckBox* m_scriptCommentDel;
    QGroupBox* m_scriptKinds;
    QCheckBox* m_scriptBlockComment;
    QCheckBox* m_scriptLineComment;
    QCheckBox* m_vbsRemComment;
    QCheckBox* m_specialCommentsDel;
    QListWidget* m_keptComments;
    QPushButton* m_addKept;
    QPushButton* m_editKept;
    QPushButton* m_removeKept;
};

}  // namespace trimlet
