#include "utilities/dispatch_object.h"

#include <oleauto.h>

#include <vector>

#include "utilities/text_codepage.h"

Variant::Variant(const Variant& other) {
    VariantInit(&value_);
    VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Variant Variant::FromText(const std::string& ansiText) {
    Variant v;
    WideBuffer wide = MultiByteToWide(ansiText.c_str(), kCodePageSystemAnsi);
    v.value_.vt = VT_BSTR;
    v.value_.bstrVal = SysAllocString(wide.empty() ? L"" : wide.data());
    return v;
}

Variant Variant::FromInt(int n) {
    Variant v;
    v.value_.vt = VT_I4;
    v.value_.lVal = n;
    return v;
}

Variant Variant::FromBool(bool b) {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

std::string Variant::ToText() const {
    Variant text;
    if (FAILED(VariantChangeType(text.Get(), const_cast<VARIANT*>(&value_), 0, VT_BSTR)) || !text.value_.bstrVal)
        return {};
    return WideToMultiByte(text.value_.bstrVal, kCodePageSystemAnsi);
}

int Variant::ToInt() const {
    Variant number;
    if (FAILED(VariantChangeType(number.Get(), const_cast<VARIANT*>(&value_), 0, VT_R8))) return 0;
    return (int)number.value_.dblVal;
}

bool Variant::ToBool() const {
    Variant flag;
    if (FAILED(VariantChangeType(flag.Get(), const_cast<VARIANT*>(&value_), 0, VT_BOOL))) return false;
    return flag.value_.boolVal != VARIANT_FALSE;
}

IDispatch* Variant::ToDispatch() const { return value_.vt == VT_DISPATCH ? value_.pdispVal : nullptr; }

DispatchObject::DispatchObject(const DispatchObject& other) : object_(other.object_) {
    if (object_) object_->AddRef();
}

DispatchObject& DispatchObject::operator=(const DispatchObject& other) {
    if (other.object_) other.object_->AddRef();
    Reset();
    object_ = other.object_;
    return *this;
}

void DispatchObject::Reset() {
    if (object_) object_->Release();
    object_ = nullptr;
}

DispatchObject DispatchObject::Create(const wchar_t* progId) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId, &clsid))) return {};
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, (void**)&object))) return {};
    return DispatchObject(object);
}

bool DispatchObject::Invoke(const wchar_t* name, WORD flags, const Variant* args, int argCount, Variant* result) const {
    if (!object_) return false;
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    // IDispatch takes its arguments last first.
    std::vector<VARIANT> reversed;
    for (int i = argCount - 1; i >= 0; --i) reversed.push_back(*args[i].Get());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, (UINT)argCount, 0};
    DISPID namedPut = DISPID_PROPERTYPUT;
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedPut;
        params.cNamedArgs = 1;
    }
    HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->Get() : nullptr,
                                 nullptr, nullptr);
    return SUCCEEDED(hr);
}

bool DispatchObject::PutProperty(const wchar_t* name, const Variant& value) {
    return Invoke(name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

Variant DispatchObject::GetProperty(const wchar_t* name, const Variant* args, int argCount) const {
    Variant result;
    if (!Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, argCount, &result)) VariantClear(result.Get());
    return result;
}

Variant DispatchObject::Call(const wchar_t* name, const Variant* args, int argCount) const {
    Variant result;
    if (!Invoke(name, DISPATCH_METHOD, args, argCount, &result)) VariantClear(result.Get());
    return result;
}

DispatchObject DispatchObject::GetObjectProperty(const wchar_t* name, const Variant* args, int argCount) const {
    Variant value = GetProperty(name, args, argCount);
    IDispatch* object = value.ToDispatch();
    if (object) object->AddRef();
    return DispatchObject(object);
}
