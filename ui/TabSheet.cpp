#include "TabSheet.h"

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}
