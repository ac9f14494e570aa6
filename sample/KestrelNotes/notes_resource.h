/* Identifiers of Kestrel Notes' resources, for notes.rc and notes.cpp alike. */
#ifndef NOTES_RESOURCE_H
#define NOTES_RESOURCE_H

#define IDI_NOTES 1 /* AppIcon.ico, the icon its shortcuts show too */

#endif
