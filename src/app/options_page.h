#pragma once
// One page of the options sheet. A page reads its settings from the profile the first time
// it is shown and stores them when the sheet closes with OK; a page never shown stores
// nothing, since its controls never held the settings.

#include <QWidget>

namespace trimlet {

class COptionsPage : public QWidget {
  public:
    using QWidget::QWidget;

    // Fills the controls from the profile, the first time only.
    void EnsureLoaded() {
        if (m_loaded) return;
        Load();
        m_loaded = true;
    }
    bool Loaded() const { return m_loaded; }

    // Stores the page's settings; false when the page refuses them (it has then told the
    // user why). A page never loaded stores nothing and accepts.
    bool Store() { return !m_loaded || Save(); }

    // After a refusal: puts the focus on the control to correct.
    virtual void FocusAfterRefusal() {}

  protected:
    virtual void Load() = 0;
    virtual bool Save() = 0;

  private:
    bool m_loaded = false;
};

}  // namespace trimlet
