#include "forms/Control.h"

namespace forms {

AmbientProperties Control::Ambient() const {
    if (host_) return host_->Ambient(*this);
    AmbientProperties defaults;
    defaults.Font = Font::Create(L"MS Sans Serif", 8.25);
    return defaults;
}

void Control::PropertyChanged(std::wstring_view property) {
    if (host_) host_->PropertyChanged(*this, property);
}

}  // namespace forms
