#pragma once
// The application object: the application window, the message loop and the display of
// failures. It exists before the program's entry point runs.

#include "Controls.h"
#include "Exception.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();

    // Allocates the form, stores it in `reference` before its constructor runs and back to
    // null if the constructor fails. The first form created becomes the main form.
    template <class T> void CreateForm(T*& reference) {
        void* memory = ::operator new(sizeof(T));
        reference = static_cast<T*>(memory);
        T* form;
        try {
            form = new (memory) T(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        AdoptForm(form);
    }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    // Destroys the forms and lets go of the toolkit while everything they use still exists,
    // before the program's static objects are destroyed.
    void Shutdown();
    // Minimises the whole application to its taskbar button, and restores it.
    void Minimize();
    void Restore();

    // Deals with the exception that is being handled; call it only inside a catch block.
    // It never raises.
    void HandleException() noexcept;
    void ShowException(const Exception& e);

    std::string Title() const;
    void* Handle() const; // the application window
    TForm* MainForm() const { return mainForm_; }

private:
    void AdoptForm(TForm* form);
    // The backend's parts of HandleException.
    void CancelMouseCapture();
    void ShowGenericReport(const std::string& text);
    TForm* mainForm_ = nullptr;
};

extern TApplication* Application;
