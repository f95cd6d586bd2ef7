	.text
	.globl _start
	.globl start
_start:
start:
	xor %eax, %eax
	ret
