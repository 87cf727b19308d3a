// FormDesign: the main window's components in their creation order with the values they carry
// at design time. The program reads this description back at start-up.
#pragma once

#include "engine/assets/Persistent.h"

namespace FormDesign {

class TForm1Design : public TComponent {
public:
    TForm1Design();
    std::string ClassName() const override { return "TForm1"; }
};

}  // namespace FormDesign
