#pragma once
// Shows a picture, as it is or reduced to fit, at the control's top-left corner.

#include "Controls.h"

#include <cstdint>
#include <string>
#include <vector>

class TImage : public TWinControl {
public:
    explicit TImage(TComponent* owner);

    bool Proportional = false;
    bool Stretch = false;
    // The picture as the design stores it: its graphic class and that class's data.
    std::string PictureClass;
    std::vector<std::uint8_t> PictureData; // for "TJPEGImage": the JPEG file's bytes

    bool SetProperty(const std::string& name, const ui::DesignValue& value) override;

protected:
    void CreateWnd() override;

private:
    friend struct NativeControl;
    std::shared_ptr<void> decoded_; // the backend's bitmap, decoded on the first paint
    bool decodeTried_ = false;
};
