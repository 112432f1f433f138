// Late-bound calls on an automation object through IDispatch, with texts in
// the system's ANSI code page.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>

// An owned VARIANT that is cleared when it goes away.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant& other);
    Variant& operator=(const Variant&) = delete;

    static Variant FromText(const std::string& ansiText);
    static Variant FromInt(int n);
    static Variant FromBool(bool b);

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }
    // The value as ANSI text; empty when it cannot be converted.
    std::string ToText() const;
    // The value as an integer with any fraction dropped; 0 when it cannot be converted.
    int ToInt() const;
    bool ToBool() const;
    // The object reference held by the value, or null.
    IDispatch* ToDispatch() const;

private:
    VARIANT value_;
};

// A counted reference to an automation object; empty when null.
class DispatchObject {
public:
    DispatchObject() = default;
    explicit DispatchObject(IDispatch* adopted) : object_(adopted) {}
    DispatchObject(const DispatchObject& other);
    DispatchObject& operator=(const DispatchObject& other);
    ~DispatchObject() { Reset(); }

    // Creates an object by ProgID; empty on failure.
    static DispatchObject Create(const wchar_t* progId);

    bool Empty() const { return object_ == nullptr; }
    void Reset();

    bool PutProperty(const wchar_t* name, const Variant& value);
    // Reads a property, or calls a method, with the given arguments in their
    // natural order. The result is empty (VT_EMPTY) on failure.
    Variant GetProperty(const wchar_t* name, const Variant* args = nullptr, int argCount = 0) const;
    Variant Call(const wchar_t* name, const Variant* args = nullptr, int argCount = 0) const;
    // A property that holds another automation object; empty on failure.
    DispatchObject GetObjectProperty(const wchar_t* name, const Variant* args = nullptr, int argCount = 0) const;

private:
    bool Invoke(const wchar_t* name, WORD flags, const Variant* args, int argCount, Variant* result) const;

    IDispatch* object_ = nullptr;
};
