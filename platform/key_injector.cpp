#include "platform/key_injector.h"

namespace zt {

void QueuedKeyInjector::PostKey(const KeyEvent& key, bool press)
{
    InjectedKey k;
    k.What = press ? InjectedKey::Kind::Press : InjectedKey::Kind::Release;
    k.Key = key;
    queue_.push_back(k);
}

void QueuedKeyInjector::PostChar(char c)
{
    InjectedKey k;
    k.What = InjectedKey::Kind::Character;
    k.Char = c;
    queue_.push_back(k);
}

int QueuedKeyInjector::Drain(const std::function<void(const InjectedKey&)>& deliver)
{
    std::deque<InjectedKey> batch;
    batch.swap(queue_);
    for (const InjectedKey& k : batch)
        deliver(k);
    return static_cast<int>(batch.size());
}

}  // namespace zt
