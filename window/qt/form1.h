#pragma once

#include "publication/publication_inputs.h"
#include "window/form1_layout.h"

#include <QWidget>

#include <array>
#include <memory>

namespace lumvrex {

class Dialogs;
class PageEffectSource;
class PageListView;

// The main window: the fields of a publication, the page list, and the
// buttons "Create pub", "Exit" and "Clear".
class Form1 final : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Tests replace the dialogs and the effect source; the window keeps
    // using its own otherwise. Neither is owned.
    void setDialogs(Dialogs *dialogs);
    void setEffectSource(PageEffectSource *effects);

    PublicationInputs publicationInputs() const;
    PageListView *pageList() const { return m_list; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void setTabOrderAndFocus();
    void clicked(ButtonAction action);
    void createPublicationClicked();

    // The widget of each row of kForm1Controls.
    std::array<QWidget *, kForm1Controls.size()> m_controls = {};
    PageListView *m_list = nullptr;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<PageEffectSource> m_ownEffects;
    Dialogs *m_dialogs;
    PageEffectSource *m_effects;
};

} // namespace lumvrex
