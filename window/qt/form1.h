#pragma once

#include "publication/publication_inputs.h"

#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;

namespace lumvrex {

class Dialogs;
class PageEffectSource;
class PageListModel;
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
    PageListModel *pageList() const { return m_pages; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void setTabOrderAndFocus();
    void createPublicationClicked();

    // The fields that feed the publication; the labels and Text3 ("Init
    // message:") are only found by their object names.
    QLineEdit *Text1, *Text2, *Text4, *Text5, *Text6;
    PageListView *List1;
    QPushButton *Command1, *Command2, *Command3;

    PageListModel *m_pages;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<PageEffectSource> m_ownEffects;
    Dialogs *m_dialogs;
    PageEffectSource *m_effects;
};

} // namespace lumvrex
