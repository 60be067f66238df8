/*
 * Stack switching for x86-64, System V ABI (Linux):
 *   https://gitlab.com/x86-psABIs/x86-64-ABI  (3.2.1 registers, 3.2.2 stack frame)
 *
 * Every process runs in the region of the thread's stack just below StackBase.
 * Suspending copies the live part of that region into a heap block; resuming
 * copies it back to the very same addresses, so pointers into a process's own
 * stack survive its suspensions.
 *
 * Saved frame of a suspended process (lowest address = segment start), built
 * by zorva_suspend and consumed by zorva_restore:
 *
 *   offset  size  contents
 *        0     4  MXCSR (SSE control/status)
 *        4     2  x87 control word
 *        6     2  padding
 *        8     8  r15
 *       16     8  r14
 *       24     8  r13
 *       32     8  r12
 *       40     8  rbx
 *       48     8  rbp (frame pointer)
 *       56     8  return address into the caller of zorva_suspend
 *
 * Run context (struct RunContext in stack_switch.h, static_asserts there):
 *
 *   offset  contents
 *        0  rbx      8  rbp     16  r12     24  r13     32  r14     40  r15
 *       48  MXCSR   52  x87 control word
 *       56  StackBase: the slot holding zorva_run_enter's return address
 *
 * Heap block of a segment: 32-bit length n, then the n bytes, lowest address first.
 */
        .intel_syntax noprefix
        .text

/* COPY_BYTES: copies rcx bytes from [rsi] to [rdi]; clobbers rax, rcx, rsi,
 * rdi, xmm0, xmm1. Short segments are the common case (a process suspends a
 * few frames deep), and for them a plain SSE loop beats the start-up cost of
 * rep movsb; long ones go to rep movsb, which is fastest there. Neither is
 * seen by a sanitizer's interceptors, which would report the redzones of the
 * frames being copied. */
        .macro COPY_BYTES
        cmp     rcx, 1024
        jae     3f
1:      cmp     rcx, 64
        jb      2f
        movdqu  xmm0, [rsi]
        movdqu  xmm1, [rsi + 16]
        movdqu  [rdi], xmm0
        movdqu  [rdi + 16], xmm1
        movdqu  xmm0, [rsi + 32]
        movdqu  xmm1, [rsi + 48]
        movdqu  [rdi + 32], xmm0
        movdqu  [rdi + 48], xmm1
        add     rsi, 64
        add     rdi, 64
        sub     rcx, 64
        jmp     1b
2:      cmp     rcx, 16
        jb      4f
        movdqu  xmm0, [rsi]
        movdqu  [rdi], xmm0
        add     rsi, 16
        add     rdi, 16
        sub     rcx, 16
        jmp     2b
4:      cmp     rcx, 8
        jb      5f
        mov     rax, [rsi]
        mov     [rdi], rax
        add     rsi, 8
        add     rdi, 8
        sub     rcx, 8
        jmp     4b
5:      test    rcx, rcx                /* segments are whole words: nearly always */
        jz      6f                      /* rep movsb costs its start-up even for 0 bytes */
3:      rep movsb
6:
        .endm

/* void zorva_run_enter(RunContext* ctx, void (*entry)(void*), void* arg)
 * Records the caller's registers and StackBase, then calls entry(arg) with
 * the stack pointer at StackBase. Returns only through zorva_run_leave. */
        .globl  zorva_run_enter
        .type   zorva_run_enter, @function
zorva_run_enter:
        .cfi_startproc
        endbr64
        mov     [rdi + 0], rbx
        mov     [rdi + 8], rbp
        mov     [rdi + 16], r12
        mov     [rdi + 24], r13
        mov     [rdi + 32], r14
        mov     [rdi + 40], r15
        stmxcsr [rdi + 48]
        fnstcw  [rdi + 52]
        mov     [rdi + 56], rsp         /* StackBase */
        mov     rax, rsi
        mov     rdi, rdx
        and     rsp, -16                /* the ABI wants rsp % 16 == 0 at a call */
        call    rax
        ud2                             /* entry never returns */
        .cfi_endproc
        .size   zorva_run_enter, .-zorva_run_enter

/* void zorva_run_leave(const RunContext* ctx)  -- noreturn
 * Returns from zorva_run_enter to its caller with the recorded registers. */
        .globl  zorva_run_leave
        .type   zorva_run_leave, @function
zorva_run_leave:
        .cfi_startproc
        endbr64
        mov     rbx, [rdi + 0]
        mov     rbp, [rdi + 8]
        mov     r12, [rdi + 16]
        mov     r13, [rdi + 24]
        mov     r14, [rdi + 32]
        mov     r15, [rdi + 40]
        ldmxcsr [rdi + 48]
        fldcw   [rdi + 52]
        mov     rsp, [rdi + 56]         /* back onto the return address slot */
        ret
        .cfi_endproc
        .size   zorva_run_leave, .-zorva_run_leave

/* void zorva_call_on_region(void* top, void* frame, void (*fn)(void*), void* arg)  -- noreturn
 * Abandons whatever runs below top and calls fn(arg) with the stack pointer at
 * top and the frame pointer set to frame (so debuggers and the sanitizer's
 * frame-pointer unwinder walk on into the caller of the run). */
        .globl  zorva_call_on_region
        .type   zorva_call_on_region, @function
zorva_call_on_region:
        .cfi_startproc
        endbr64
        mov     rsp, rdi
        and     rsp, -16
        mov     rbp, rsi
        mov     rax, rdx
        mov     rdi, rcx
        call    rax
        ud2                             /* fn never returns */
        .cfi_endproc
        .size   zorva_call_on_region, .-zorva_call_on_region

/* void zorva_suspend(void* request, void (*handler)(void* request, void* block), void* stack_base)
 * Saves the callee-saved state on the stack, copies the live region
 * [rsp, stack_base) into a fresh heap block and hands it to handler, which
 * never returns: it enters the scheduler. zorva_suspend itself returns to its
 * caller only when zorva_restore copies the block back. */
        .globl  zorva_suspend
        .type   zorva_suspend, @function
zorva_suspend:
        .cfi_startproc
        endbr64
        push    rbp
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset rbp, 0
        push    rbx
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset rbx, 0
        push    r12
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset r12, 0
        push    r13
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset r13, 0
        push    r14
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset r14, 0
        push    r15
        .cfi_adjust_cfa_offset 8
        .cfi_rel_offset r15, 0
        sub     rsp, 8
        .cfi_adjust_cfa_offset 8
        stmxcsr [rsp]
        fnstcw  [rsp + 4]
        mov     r12, rdi                /* request */
        mov     r13, rsi                /* handler */
        mov     r14, rsp                /* segment start, 16-byte aligned */
        mov     rbx, rdx
        sub     rbx, r14                /* n = stack_base - segment start */
        mov     rdi, rbx
        call    zorva_allocate_segment@PLT
        mov     r15, rax                /* block */
        lea     rdi, [rax + 4]
        mov     rsi, r14
        /* The frame pushed above is still in the store buffer: it is copied
         * in the pieces it was stored in, because a wider load that spans
         * two stores waits until they have reached the cache. */
        mov     eax, [rsi]              /* MXCSR */
        mov     [rdi], eax
        movzx   eax, word ptr [rsi + 4] /* x87 control word */
        mov     [rdi + 4], eax          /* and zero padding */
        .irp    offset, 8, 16, 24, 32, 40, 48, 56
        mov     rax, [rsi + \offset]
        mov     [rdi + \offset], rax
        .endr
        add     rsi, 64
        add     rdi, 64
        lea     rcx, [rbx - 64]         /* the rest: the suspended frames above */
        COPY_BYTES
        mov     rdi, r12
        mov     rsi, r15
        call    r13
        ud2                             /* handler never returns */
        .cfi_endproc
        .size   zorva_suspend, .-zorva_suspend

/* void zorva_restore(void* block, void* stack_base)  -- noreturn
 * Copies the segment in block back to [stack_base - n, stack_base) and
 * continues the suspended process by returning from its zorva_suspend.
 * The copy overwrites the region this very code may be running in, so the
 * stack pointer first moves below both the region and the current frame; it
 * also keeps valgrind from treating the destination as unusable stack. */
        .globl  zorva_restore
        .type   zorva_restore, @function
zorva_restore:
        .cfi_startproc
        endbr64
        mov     ecx, [rdi]              /* n (zero-extends into rcx) */
        mov     rbx, rsi
        sub     rbx, rcx                /* destination = stack_base - n */
        mov     rax, rsp
        cmp     rax, rbx
        cmova   rax, rbx                /* the lower of the two */
        sub     rax, 256                /* keep clear of the 128-byte red zone */
        and     rax, -16
        mov     rsp, rax
        mov     r12, rdi
        lea     rsi, [rdi + 4]
        mov     rdi, rbx
        COPY_BYTES
        mov     rdi, r12
        mov     rsi, rbx
        call    zorva_segment_restored@PLT   /* frees the block, unpoisons the region */
        mov     rsp, rbx
        /* Loading a control register drains the pipeline, and a model
         * nearly never changes either: each is loaded only if it differs
         * (read below rsp, in the red zone). */
        stmxcsr [rsp - 8]
        mov     eax, [rsp]
        cmp     eax, [rsp - 8]
        je      7f
        ldmxcsr [rsp]
7:      fnstcw  [rsp - 4]
        movzx   eax, word ptr [rsp + 4]
        cmp     ax, [rsp - 4]
        je      8f
        fldcw   [rsp + 4]
8:      add     rsp, 8
        pop     r15
        pop     r14
        pop     r13
        pop     r12
        pop     rbx
        pop     rbp
        /* Into the caller of zorva_suspend. Not by ret: the return stack
         * buffer holds the scheduler's calls, never this address, so a ret
         * is mispredicted at every resumption, while an indirect jump is
         * predicted from where it went before (rcx is free: zorva_suspend
         * returns nothing). */
        pop     rcx
        jmp     rcx
        .cfi_endproc
        .size   zorva_restore, .-zorva_restore

        .section .note.GNU-stack,"",@progbits
