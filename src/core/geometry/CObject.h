#pragma once

class CArchive;

// Root of the serializable model classes: a virtual destructor and a
// serialization hook that does nothing unless a class stores itself.
class CObject {
public:
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

inline void CObject::Serialize(CArchive&) {}
