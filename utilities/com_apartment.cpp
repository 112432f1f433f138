#include "utilities/com_apartment.h"

#include <objbase.h>

ComApartment::ComApartment() {
    HRESULT hr = CoInitialize(nullptr);
    initialized_ = hr == S_OK || hr == S_FALSE;
}

ComApartment::~ComApartment() {
    if (initialized_) CoUninitialize();
}
