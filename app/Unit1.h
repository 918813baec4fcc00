#pragma once
// The main window: five buttons, one for each document of the catalogue, and the cover.

#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "PageControl.h"
#include "TabSheet.h"

class TForm1 : public TForm {
public:
    // Components, bound by name when the design is loaded.
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TImage* Image1 = nullptr;
    TButton* Button5 = nullptr;

    explicit TForm1(TComponent* owner);

    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void Button3Click(TObject* sender);
    void Button4Click(TObject* sender);
    void Button5Click(TObject* sender);

private:
    // What the design may bind to, by name.
    TPublished Published();
};

extern TForm1* Form1;
