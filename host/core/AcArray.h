// Growable array with the host's array interface, over std::vector.
#pragma once
#include <algorithm>
#include <cassert>
#include <vector>

template <typename T>
class AcArray {
public:
    AcArray() = default;
    explicit AcArray(int physicalLength) { m_v.reserve(physicalLength > 0 ? physicalLength : 0); }
    AcArray(std::initializer_list<T> init) : m_v(init) {}
    explicit AcArray(std::vector<T> v) : m_v(std::move(v)) {}

    int length() const { return static_cast<int>(m_v.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(m_v.capacity()); }
    bool isEmpty() const { return m_v.empty(); }

    // Appends and returns the index of the new element.
    int append(const T& value) { m_v.push_back(value); return length() - 1; }
    AcArray& append(const AcArray& other) { m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end()); return *this; }
    AcArray& insertAt(int index, const T& value) {
        assert(index >= 0 && index <= length());
        m_v.insert(m_v.begin() + index, value);
        return *this;
    }
    AcArray& removeAt(int index) {
        assert(index >= 0 && index < length());
        m_v.erase(m_v.begin() + index);
        return *this;
    }
    AcArray& removeSubArray(int startIndex, int endIndex) {
        m_v.erase(m_v.begin() + startIndex, m_v.begin() + endIndex + 1);
        return *this;
    }
    bool remove(const T& value, int start = 0) {
        int i = 0;
        if (!find(value, i, start)) return false;
        removeAt(i);
        return true;
    }
    AcArray& removeFirst() { return removeAt(0); }
    AcArray& removeLast() { m_v.pop_back(); return *this; }
    AcArray& removeAll() { m_v.clear(); return *this; }
    AcArray& setLogicalLength(int n) { m_v.resize(n > 0 ? n : 0); return *this; }
    AcArray& setPhysicalLength(int n) { m_v.reserve(n > 0 ? n : 0); return *this; }
    AcArray& reverse() { std::reverse(m_v.begin(), m_v.end()); return *this; }
    AcArray& swap(int i, int j) { std::swap(m_v.at(i), m_v.at(j)); return *this; }

    T& at(int i) { assert(i >= 0 && i < length()); return m_v[i]; }
    const T& at(int i) const { assert(i >= 0 && i < length()); return m_v[i]; }
    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }
    AcArray& setAt(int i, const T& value) { at(i) = value; return *this; }
    T& first() { return at(0); }
    const T& first() const { return at(0); }
    T& last() { return at(length() - 1); }
    const T& last() const { return at(length() - 1); }

    bool contains(const T& value, int start = 0) const { int i; return find(value, i, start); }
    bool find(const T& value, int& foundAt, int start = 0) const {
        for (int i = start; i < length(); ++i)
            if (m_v[i] == value) { foundAt = i; return true; }
        return false;
    }
    int find(const T& value) const { int i = -1; return find(value, i) ? i : -1; }

    T* asArrayPtr() { return m_v.data(); }
    const T* asArrayPtr() const { return m_v.data(); }

    auto begin() { return m_v.begin(); }
    auto end() { return m_v.end(); }
    auto begin() const { return m_v.begin(); }
    auto end() const { return m_v.end(); }

    std::vector<T>& vec() { return m_v; }
    const std::vector<T>& vec() const { return m_v; }

    bool operator==(const AcArray& other) const { return m_v == other.m_v; }

private:
    std::vector<T> m_v;
};

using AcGeDoubleArray = AcArray<double>;
using AcGeIntArray = AcArray<int>;
