// The application icon the program carries as a resource (six sizes, drawn
// at build time by assets/generators/app_icon.c). Read by the resource
// compiler as well, so only preprocessor lines here.
#pragma once

#define QM_APPLICATION_ICON 1
