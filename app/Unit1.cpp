#include "Unit1.h"

#include "DocumentLibrary.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    LoadDesign("TForm1", Published());
    // The folder exists before the window is first shown; a failure here stays silent.
    EnsureDocumentFolder();
}

TPublished TForm1::Published() {
    return {
        {
            {"PageControl1", PublishedField(PageControl1)},
            {"TabSheet1", PublishedField(TabSheet1)},
            {"Button1", PublishedField(Button1)},
            {"Button2", PublishedField(Button2)},
            {"Button3", PublishedField(Button3)},
            {"Button4", PublishedField(Button4)},
            {"Image1", PublishedField(Image1)},
            {"Button5", PublishedField(Button5)},
        },
        {
            {"Button1Click", [this](TObject* sender) { Button1Click(sender); }},
            {"Button2Click", [this](TObject* sender) { Button2Click(sender); }},
            {"Button3Click", [this](TObject* sender) { Button3Click(sender); }},
            {"Button4Click", [this](TObject* sender) { Button4Click(sender); }},
            {"Button5Click", [this](TObject* sender) { Button5Click(sender); }},
        },
    };
}

void TForm1::Button1Click(TObject*) {
    OpenDocument(DocumentCatalogue[0], this);
}

void TForm1::Button2Click(TObject*) {
    OpenDocument(DocumentCatalogue[1], this);
}

void TForm1::Button3Click(TObject*) {
    OpenDocument(DocumentCatalogue[2], this);
}

void TForm1::Button4Click(TObject*) {
    OpenDocument(DocumentCatalogue[3], this);
}

void TForm1::Button5Click(TObject*) {
    OpenDocument(DocumentCatalogue[4], this);
}
