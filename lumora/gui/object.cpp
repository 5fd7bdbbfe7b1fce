// Bookkeeping of objects and their containers; the native side is the containers' business.
#include "lumora/object.h"

#include <algorithm>

namespace lumora {

Object::Object() = default;

Object::~Object()
{
    if (container) container->UnregisterObject(this);
}

int Object::SetFlags(int newFlags)
{
    flags = newFlags;
    return 0;
}

Container::Container() = default;

Container::~Container()
{
    for (Object *object : objects) object->container = nullptr;
}

int Container::RegisterObject(Object *object)
{
    if (!object || object->container) return 1;
    objects.push_back(object);
    object->container = this;
    return 0;
}

int Container::UnregisterObject(Object *object)
{
    auto found = std::find(objects.begin(), objects.end(), object);
    if (found == objects.end()) return 1;
    objects.erase(found);
    object->container = nullptr;
    return 0;
}

Object *Container::GetNthObject(int n) const
{
    return n >= 0 && n < GetNOfObjects() ? objects[n] : nullptr;
}

void Container::ObjectChanged(Object *) {}

} // namespace lumora
