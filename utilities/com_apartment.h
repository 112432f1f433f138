// Joins the calling thread to COM for the lifetime of the object.
#pragma once

#include <windows.h>

class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    // Only an initialisation that succeeded (S_OK or S_FALSE) may be balanced:
    // after RPC_E_CHANGED_MODE an uninitialise would take the thread out of the
    // apartment its owner put it in.
    bool initialized_;
};
