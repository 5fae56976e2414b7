// Empty stand-in: see ddrawint.h.
#pragma once
