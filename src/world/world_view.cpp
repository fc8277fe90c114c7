#include "world/world_view.h"

#include <utility>

#include "app/main_thread_queue.h"
#include "world/world.h"

void ChangeWorldView(std::function<void(cWorldView&)> change) {
  PostToMainThread([change = std::move(change)] {
    if (g_pWorld == nullptr) return;
    if (cWorldView* view = g_pWorld->View()) change(*view);
  });
}

void FollowHexInView(int x, int y) {
  ChangeWorldView([x, y](cWorldView& view) { view.FollowHex(x, y); });
}
