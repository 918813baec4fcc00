#include "Application.h"

#include "Form.h"

void TApplication::HandleException() noexcept {
    try {
        CancelMouseCapture();
        try {
            throw;
        } catch (const EAbort&) {
            // never reported
        } catch (const Exception& e) {
            ShowException(e);
        } catch (const std::exception& e) {
            ShowGenericReport(e.what());
        } catch (...) {
            ShowGenericReport("An unknown exception occurred");
        }
    } catch (...) {
        // Showing the failure failed as well; there is nobody left to tell.
    }
}

// The first form created is the main form, and gets its window at once.
void TApplication::AdoptForm(TForm* form) {
    if (!mainForm_) {
        mainForm_ = form;
        form->Handle();
    }
}
