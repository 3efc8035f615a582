#pragma once
#include <objbase.h>

// COM for the calling thread while the object lives, unless the thread was
// already in it in another mode (then nothing is undone either).
class ComApartment {
public:
    ComApartment() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};
