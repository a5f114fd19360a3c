/*
 * The firmware-side half of the Secure Boot comparison: started by the
 * firmware, it asks the firmware to load every test image in \orvanta\images
 * of the disk it came from and prints each answer on the console (which
 * OVMF copies to the serial port), then powers the machine off.
 *
 * Printed lines, one fact each, for tests/firmware/serial_log.py:
 *   orvanta-loader: started BootCurrent=XXXX
 *   orvanta-var: <name> <value> | <count> bytes | absent | unreadable <status>
 *   orvanta-hex: <name> <hex bytes>      (Boot<BootCurrent>, db and dbx, in chunks)
 *   orvanta-verdict: <file name> 0x<EFI_STATUS> <status text>
 *   orvanta-loader: done <count> images
 *
 * LoadImage alone decides: the image verification handler runs inside it.
 * An image that loads, or that loads deferred (EFI_SECURITY_VIOLATION hands
 * back a handle), is unloaded again and never started.
 */
#include <efi.h>
#include <efilib.h>

#define IMAGE_FOLDER L"\\orvanta\\images"
#define HEX_BYTES_PER_LINE 48

static EFI_GUID ImageSecurityDatabaseGuid = {
    0xd719b2cb, 0x3d3a, 0x4596, {0xa3, 0xbc, 0xda, 0xd0, 0x0e, 0x67, 0x65, 0x6f}};

static void PrintByteVariable(CHAR16 *name) {
  UINT8 value = 0;
  UINTN size = sizeof value;
  EFI_STATUS status =
      uefi_call_wrapper(RT->GetVariable, 5, name, &EfiGlobalVariable, NULL, &size, &value);
  if (EFI_ERROR(status) || size != 1)
    Print(L"orvanta-var: %s absent\n", name);
  else
    Print(L"orvanta-var: %s %d\n", name, value);
}

/*
 * A variable's bytes as hex: db and dbx, so that the host judges against the
 * very bytes the firmware holds, and the boot entry that started this program.
 */
static void PrintVariableBytes(CHAR16 *name, EFI_GUID *guid) {
  UINTN size = 0;
  EFI_STATUS status = uefi_call_wrapper(RT->GetVariable, 5, name, guid, NULL, &size, NULL);
  if (status != EFI_BUFFER_TOO_SMALL) {
    Print(L"orvanta-var: %s absent\n", name);
    return;
  }
  UINT8 *bytes = AllocatePool(size);
  if (bytes == NULL) {
    Print(L"orvanta-var: %s unreadable %r\n", name, EFI_OUT_OF_RESOURCES);
    return;
  }
  status = uefi_call_wrapper(RT->GetVariable, 5, name, guid, NULL, &size, bytes);
  if (EFI_ERROR(status)) {
    Print(L"orvanta-var: %s unreadable %r\n", name, status);
    FreePool(bytes);
    return;
  }
  Print(L"orvanta-var: %s %d bytes\n", name, size);
  CHAR16 line[2 * HEX_BYTES_PER_LINE + 1];
  for (UINTN start = 0; start < size; start += HEX_BYTES_PER_LINE) {
    UINTN count = size - start < HEX_BYTES_PER_LINE ? size - start : HEX_BYTES_PER_LINE;
    for (UINTN i = 0; i < count; ++i) {
      static const CHAR16 digits[] = L"0123456789abcdef";
      line[2 * i] = digits[bytes[start + i] >> 4];
      line[2 * i + 1] = digits[bytes[start + i] & 0xF];
    }
    line[2 * count] = 0;
    Print(L"orvanta-hex: %s %s\n", name, line);
  }
  FreePool(bytes);
}

/* Boot#### names take four upper-case hex digits; Print's %X would give eight. */
static void FormatOptionNumber(CHAR16 digits[5], UINT16 number) {
  static const CHAR16 hex[] = L"0123456789ABCDEF";
  for (int i = 3; i >= 0; --i, number >>= 4)
    digits[i] = hex[number & 0xF];
  digits[4] = 0;
}

static void PrintBootCurrent(void) {
  UINT16 current = 0;
  UINTN size = sizeof current;
  EFI_STATUS status = uefi_call_wrapper(RT->GetVariable, 5, L"BootCurrent", &EfiGlobalVariable,
                                        NULL, &size, &current);
  if (EFI_ERROR(status) || size != sizeof current) {
    Print(L"orvanta-loader: started BootCurrent=none\n");
    return;
  }
  CHAR16 option[9] = L"Boot";
  FormatOptionNumber(option + 4, current);
  Print(L"orvanta-loader: started BootCurrent=%s\n", option + 4);
  PrintVariableBytes(option, &EfiGlobalVariable);
}

static BOOLEAN IsEfiFileName(const CHAR16 *name) {
  UINTN length = StrLen(name);
  return length > 4 && StriCmp((CHAR16 *)name + length - 4, L".efi") == 0;
}

static void JudgeImage(EFI_HANDLE self, EFI_HANDLE device, const CHAR16 *name) {
  CHAR16 path[256];
  SPrint(path, sizeof path, L"%s\\%s", IMAGE_FOLDER, name);
  EFI_DEVICE_PATH *file = FileDevicePath(device, path);
  if (file == NULL) {
    Print(L"orvanta-verdict: %s 0x%lx %r\n", name, EFI_OUT_OF_RESOURCES, EFI_OUT_OF_RESOURCES);
    return;
  }
  EFI_HANDLE loaded = NULL;
  EFI_STATUS status = uefi_call_wrapper(BS->LoadImage, 6, FALSE, self, file, NULL, 0, &loaded);
  Print(L"orvanta-verdict: %s 0x%lx %r\n", name, status, status);
  if (loaded != NULL && (status == EFI_SUCCESS || status == EFI_SECURITY_VIOLATION))
    uefi_call_wrapper(BS->UnloadImage, 1, loaded);
  FreePool(file);
}

static UINTN JudgeFolder(EFI_HANDLE self, EFI_HANDLE device) {
  EFI_FILE_HANDLE root = LibOpenRoot(device);
  if (root == NULL) {
    Print(L"orvanta-loader: no file system on the boot device\n");
    return 0;
  }
  EFI_FILE_HANDLE folder = NULL;
  EFI_STATUS status =
      uefi_call_wrapper(root->Open, 5, root, &folder, IMAGE_FOLDER, EFI_FILE_MODE_READ, 0);
  if (EFI_ERROR(status)) {
    Print(L"orvanta-loader: no folder %s: %r\n", IMAGE_FOLDER, status);
    uefi_call_wrapper(root->Close, 1, root);
    return 0;
  }
  UINTN count = 0;
  UINT8 buffer[SIZE_OF_EFI_FILE_INFO + 512];
  for (;;) {
    UINTN size = sizeof buffer;
    status = uefi_call_wrapper(folder->Read, 3, folder, &size, buffer);
    if (EFI_ERROR(status) || size == 0)
      break;
    EFI_FILE_INFO *info = (EFI_FILE_INFO *)buffer;
    if ((info->Attribute & EFI_FILE_DIRECTORY) || !IsEfiFileName(info->FileName))
      continue;
    JudgeImage(self, device, info->FileName);
    ++count;
  }
  if (EFI_ERROR(status))
    Print(L"orvanta-loader: reading %s stopped: %r\n", IMAGE_FOLDER, status);
  uefi_call_wrapper(folder->Close, 1, folder);
  uefi_call_wrapper(root->Close, 1, root);
  return count;
}

EFI_STATUS efi_main(EFI_HANDLE self, EFI_SYSTEM_TABLE *systemTable) {
  InitializeLib(self, systemTable);
  PrintBootCurrent();
  PrintByteVariable(L"SecureBoot");
  PrintByteVariable(L"SetupMode");
  PrintVariableBytes(L"db", &ImageSecurityDatabaseGuid);
  PrintVariableBytes(L"dbx", &ImageSecurityDatabaseGuid);

  EFI_LOADED_IMAGE *me = NULL;
  EFI_STATUS status = uefi_call_wrapper(BS->HandleProtocol, 3, self, &LoadedImageProtocol,
                                        (void **)&me);
  UINTN count = EFI_ERROR(status) ? 0 : JudgeFolder(self, me->DeviceHandle);
  Print(L"orvanta-loader: done %d images\n", count);
  uefi_call_wrapper(RT->ResetSystem, 4, EfiResetShutdown, EFI_SUCCESS, 0, NULL);
  return EFI_SUCCESS;
}
