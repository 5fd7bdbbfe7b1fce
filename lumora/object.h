// Base classes: every widget is an Object; windows, layers and the application are Containers.
#ifndef LUMORA_OBJECT_H
#define LUMORA_OBJECT_H

#include "lumora/api.h"

#include <vector>

namespace lumora {

class Container;

class LUMORA_API Object {
public:
    Object();
    virtual ~Object();
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    // attributes
    int GetFlags() const { return flags; }
    virtual int SetFlags(int newFlags);
    Container *GetContainer() const { return container; }

protected:
    friend class Container;
    int flags = 0;
    Container *container = nullptr;
};

class LUMORA_API Container {
public:
    Container();
    virtual ~Container();
    Container(const Container &) = delete;
    Container &operator=(const Container &) = delete;

    // Registered objects are shown and drawn with their container. Registering an object
    // twice, or an object that belongs to another container, fails with a non-zero result.
    virtual int RegisterObject(Object *object);
    virtual int UnregisterObject(Object *object);
    int GetNOfObjects() const { return static_cast<int>(objects.size()); }
    Object *GetNthObject(int n) const;

protected:
    std::vector<Object *> objects;
};

} // namespace lumora

#endif
