#pragma once
// The KX2 unit: the device module with the KX2 memory map, its pages and its report.

#include "protocol/VUniModule.h"

class KXADCdect : public VUniModule {
 public:
  KXADCdect(TQlsComm32& comm, ui::Component* mainWindow);
  ~KXADCdect() override;
};
