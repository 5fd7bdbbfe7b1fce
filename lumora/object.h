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
    // An object deleted while registered leaves its container first.
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
    // Objects still registered stay alive (their owner deletes them) but belong nowhere.
    virtual ~Container();
    Container(const Container &) = delete;
    Container &operator=(const Container &) = delete;

    // Registered objects are shown and drawn with their container. Registering an object
    // twice, or an object that belongs to another container, fails with a non-zero result.
    virtual int RegisterObject(Object *object);
    virtual int UnregisterObject(Object *object);
    int GetNOfObjects() const { return static_cast<int>(objects.size()); }
    Object *GetNthObject(int n) const;

    // Used by widgets: whether the container's own state lets its widgets be seen, and
    // the notice that a widget's place, size or orientation changed.
    virtual bool ShowsChildren() const { return true; }
    virtual void ObjectChanged(Object *object);

protected:
    std::vector<Object *> objects;
};

} // namespace lumora

#endif
