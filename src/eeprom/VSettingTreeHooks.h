#pragma once
// What the image needs of the settings tree's root: after an interpretation the values just read
// are accepted, after a failed one every setting goes back to its accepted value.

class VSettingTreeHooks {
 public:
  virtual ~VSettingTreeHooks() = default;
  virtual void notifyAccept() = 0;
  virtual void notifyRevert() = 0;
};
