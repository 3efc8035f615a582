#pragma once
#include <objbase.h>

// A COM interface pointer released once by its owner. out() hands the slot to
// a creating call.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_p) m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    T** out() { return &m_p; }

private:
    T* m_p = nullptr;
};

// COM for the calling thread while the object lives, when it was not already
// there in another mode.
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

// A string that a COM call allocated.
class CoTaskString {
public:
    CoTaskString() = default;
    ~CoTaskString() {
        if (m_p) ::CoTaskMemFree(m_p);
    }
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;
    wchar_t** out() { return &m_p; }
    const wchar_t* get() const { return m_p; }

private:
    wchar_t* m_p = nullptr;
};
